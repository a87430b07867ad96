#pragma once

#include <cstddef>
#include <cstdint>

// Unsigned words read from and written to bytes most significant first. Compilers turn each into
// one load or store and a byte swap on little-endian machines.
template <typename TWord>
[[gnu::always_inline]] inline TWord LoadBigEndian(const std::uint8_t* p) {
  TWord v = 0;
  for (std::size_t i = 0; i < sizeof(TWord); ++i) v = static_cast<TWord>(v << 8 | p[i]);
  return v;
}

template <typename TWord>
[[gnu::always_inline]] inline void StoreBigEndian(std::uint8_t* p, TWord v) {
  for (std::size_t i = 0; i < sizeof(TWord); ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * (sizeof(TWord) - 1 - i)));
}
