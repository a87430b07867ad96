#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// BLAKE2b as RFC 7693 defines it, streaming over caller-owned state: digests of 1 to 64 bytes,
// with a key of up to 64 bytes or none.

struct TBlake2bContext {
  std::uint64_t State[8];    // chaining values
  std::uint64_t Count[2];    // bytes compressed so far, a 128-bit number, low word first
  std::uint8_t Buffer[128];  // the last block waits here: it is compressed with a flag of its own
  std::size_t Buffered;      // bytes in Buffer
  std::size_t OutBytes;      // the digest's length
};

inline constexpr std::size_t kBlake2bMaxBytes = 64;
using TBlake2bDigest = std::array<std::uint8_t, kBlake2bMaxBytes>;

// False, and the context untouched, when outBytes is not 1..64 or the key is longer than 64
// bytes.
[[nodiscard]] bool Blake2bInit(TBlake2bContext& context, std::size_t outBytes, std::span<const std::uint8_t> key = {});

// A count of 0 changes nothing.
void Blake2bUpdate(TBlake2bContext& context, const void* bytes, std::size_t count);

// Writes the first OutBytes bytes of digest (the others stay as they are), then wipes the whole
// context to zero; Init before reusing it.
void Blake2bFinal(TBlake2bContext& context, TBlake2bDigest& digest);
