// BLAKE3's compression in general registers, and whole chunks one after another with it.
#include <cstring>

#include "core/blake3.h"
#include "core/blake3_compress.h"

namespace blake3 {

namespace {

constexpr std::uint32_t Rotr(std::uint32_t v, int n) { return v >> n | v << (32 - n); }

inline void Mix(std::uint32_t (&v)[16], int a, int b, int c, int d, std::uint32_t x, std::uint32_t y) {
  v[a] = v[a] + v[b] + x;
  v[d] = Rotr(v[d] ^ v[a], 16);
  v[c] = v[c] + v[d];
  v[b] = Rotr(v[b] ^ v[c], 12);
  v[a] = v[a] + v[b] + y;
  v[d] = Rotr(v[d] ^ v[a], 8);
  v[c] = v[c] + v[d];
  v[b] = Rotr(v[b] ^ v[c], 7);
}

}  // namespace

void Compress(TBlake3Cv& cv, const std::uint8_t block[kBlake3BlockBytes], std::uint64_t counter,
              std::uint32_t blockBytes, std::uint32_t flags) {
  std::uint32_t m[16];
  for (int i = 0; i < 16; ++i) m[i] = LoadWord(block + 4 * i);
  std::uint32_t v[16] = {cv[0],
                         cv[1],
                         cv[2],
                         cv[3],
                         cv[4],
                         cv[5],
                         cv[6],
                         cv[7],
                         kIv[0],
                         kIv[1],
                         kIv[2],
                         kIv[3],
                         static_cast<std::uint32_t>(counter),
                         static_cast<std::uint32_t>(counter >> 32),
                         blockBytes,
                         flags};
  // Unrolled, the message words' places are constants and stay in registers.
#pragma GCC unroll 7
  for (const auto& s : kSchedule) {
    Mix(v, 0, 4, 8, 12, m[s[0]], m[s[1]]);
    Mix(v, 1, 5, 9, 13, m[s[2]], m[s[3]]);
    Mix(v, 2, 6, 10, 14, m[s[4]], m[s[5]]);
    Mix(v, 3, 7, 11, 15, m[s[6]], m[s[7]]);
    Mix(v, 0, 5, 10, 15, m[s[8]], m[s[9]]);
    Mix(v, 1, 6, 11, 12, m[s[10]], m[s[11]]);
    Mix(v, 2, 7, 8, 13, m[s[12]], m[s[13]]);
    Mix(v, 3, 4, 9, 14, m[s[14]], m[s[15]]);
  }
  for (int i = 0; i < 8; ++i) cv[i] = v[i] ^ v[i + 8];
}

TBlake3Cv ChunkCv(const std::uint8_t* chunk, std::uint64_t counter) {
  TBlake3Cv cv;
  std::memcpy(cv.data(), kIv, sizeof kIv);
  constexpr std::size_t kBlocks = kBlake3ChunkBytes / kBlake3BlockBytes;
  for (std::size_t b = 0; b < kBlocks; ++b) {
    const std::uint32_t flags = (b == 0 ? kChunkStart : 0) | (b == kBlocks - 1 ? kChunkEnd : 0);
    Compress(cv, chunk + b * kBlake3BlockBytes, counter, kBlake3BlockBytes, flags);
  }
  return cv;
}

}  // namespace blake3

void Blake3ChunksPortable(const std::uint8_t* input, std::size_t count, std::uint64_t counter, TBlake3Cv* cvs) {
  for (std::size_t i = 0; i < count; ++i) cvs[i] = blake3::ChunkCv(input + i * kBlake3ChunkBytes, counter + i);
}
