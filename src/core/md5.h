#pragma once

#include <array>
#include <cstdint>

// MD5 message digest as RFC 1321 defines it, streaming over caller-owned state.
struct TMD5Context {
  std::uint32_t State[4];   // chaining values A, B, C, D
  std::uint32_t Count[2];   // bits fed so far modulo 2^64: [0] low word, [1] high word
  std::uint8_t Buffer[64];  // the first (Count[0] >> 3) & 63 bytes wait for compression
};

using TMD5Digest = std::array<std::uint8_t, 16>;

// Sets State and Count; Buffer is left as it is.
void MD5Init(TMD5Context& context);
// A count of 0 changes nothing.
void MD5Update(TMD5Context& context, const void* bytes, std::uint32_t count);
// Pads, writes the digest, then wipes the whole context to zero; MD5Init before reusing it.
void MD5Final(TMD5Context& context, TMD5Digest& digest);
// Compresses context.Buffer into context.State; Buffer is not changed.
void MD5Transform(TMD5Context& context);
