#pragma once

// BLAKE3's compression function, the one piece every path shares: the portable chunks, the
// parent nodes and the root. The SIMD paths repeat the same rounds across lanes.
#include <cstddef>
#include <cstdint>

#include "core/blake3.h"

namespace blake3 {

// SHA-256's initial values, as BLAKE3 takes them.
inline constexpr std::uint32_t kIv[8] = {0x6A09E667, 0xBB67AE85, 0x3C6EF372, 0xA54FF53A,
                                         0x510E527F, 0x9B05688C, 0x1F83D9AB, 0x5BE0CD19};

// The domain flags of a compression.
inline constexpr std::uint32_t kChunkStart = 1;
inline constexpr std::uint32_t kChunkEnd = 2;
inline constexpr std::uint32_t kParent = 4;
inline constexpr std::uint32_t kRoot = 8;

inline constexpr int kRounds = 7;

// The message word order of each round: round r + 1 takes word kPermutation[i] of round r's
// order at place i.
inline constexpr std::uint8_t kSchedule[kRounds][16] = {
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, {2, 6, 3, 10, 7, 0, 4, 13, 1, 11, 12, 5, 9, 14, 15, 8},
    {3, 4, 10, 12, 13, 2, 7, 14, 6, 5, 9, 0, 11, 15, 8, 1}, {10, 7, 12, 9, 14, 3, 13, 15, 4, 0, 11, 2, 5, 8, 1, 6},
    {12, 13, 9, 11, 15, 10, 14, 8, 7, 2, 5, 3, 0, 1, 6, 4}, {9, 14, 11, 5, 8, 12, 15, 1, 13, 3, 0, 10, 2, 6, 4, 7},
    {11, 15, 5, 0, 1, 9, 8, 6, 14, 10, 2, 12, 3, 4, 7, 13},
};

inline std::uint32_t LoadWord(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// The compression of one 64-byte block (shorter blocks are zero-padded by the caller) into cv,
// which becomes the first half of the output: a chaining value.
void Compress(TBlake3Cv& cv, const std::uint8_t block[kBlake3BlockBytes], std::uint64_t counter,
              std::uint32_t blockBytes, std::uint32_t flags);

// The chaining value of a whole chunk from its 1 KiB, with no flags beyond the chunk's own.
TBlake3Cv ChunkCv(const std::uint8_t* chunk, std::uint64_t counter);

}  // namespace blake3
