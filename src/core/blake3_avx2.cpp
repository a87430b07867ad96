// BLAKE3, eight chunks at once: one chunk a lane of the AVX2 registers.
#include "core/blake3.h"

#if defined(__x86_64__)

#include <immintrin.h>

#include <cstdint>

#include "core/blake3_compress.h"
#include "core/simd_compat.h"

#define RUVO_LANES RUVO_FORCE_INLINE RUVO_TARGET("avx2")

namespace {

using V = __m256i;
constexpr std::size_t kLanes = 8;

RUVO_LANES V Add(V a, V b) { return _mm256_add_epi32(a, b); }
RUVO_LANES V Xor(V a, V b) { return _mm256_xor_si256(a, b); }
RUVO_LANES V Set1(std::uint32_t x) { return _mm256_set1_epi32(static_cast<int>(x)); }
// Rotations by whole bytes are one byte shuffle.
RUVO_LANES V Rot16(V x) {
  return _mm256_shuffle_epi8(x, _mm256_set_epi8(13, 12, 15, 14, 9, 8, 11, 10, 5, 4, 7, 6, 1, 0, 3, 2, 13, 12, 15, 14, 9,
                                                8, 11, 10, 5, 4, 7, 6, 1, 0, 3, 2));
}
RUVO_LANES V Rot8(V x) {
  return _mm256_shuffle_epi8(x, _mm256_set_epi8(12, 15, 14, 13, 8, 11, 10, 9, 4, 7, 6, 5, 0, 3, 2, 1, 12, 15, 14, 13, 8,
                                                11, 10, 9, 4, 7, 6, 5, 0, 3, 2, 1));
}
RUVO_LANES V Rot12(V x) { return _mm256_or_si256(_mm256_srli_epi32(x, 12), _mm256_slli_epi32(x, 20)); }
RUVO_LANES V Rot7(V x) { return _mm256_or_si256(_mm256_srli_epi32(x, 7), _mm256_slli_epi32(x, 25)); }
RUVO_LANES void Store(std::uint32_t* out, V x) { _mm256_store_si256(reinterpret_cast<V*>(out), x); }

RUVO_LANES V LoadCounters(std::uint64_t counter, bool high) {
  alignas(32) std::uint32_t words[kLanes];
  for (std::size_t k = 0; k < kLanes; ++k) {
    words[k] = static_cast<std::uint32_t>(high ? (counter + k) >> 32 : counter + k);
  }
  return _mm256_load_si256(reinterpret_cast<const V*>(words));
}

// Rows r[k] (eight words of chunk k) to columns: r[j] becomes word j of every chunk.
RUVO_LANES void Transpose(V (&r)[8]) {
  const V t0 = _mm256_unpacklo_epi32(r[0], r[1]), t1 = _mm256_unpackhi_epi32(r[0], r[1]);
  const V t2 = _mm256_unpacklo_epi32(r[2], r[3]), t3 = _mm256_unpackhi_epi32(r[2], r[3]);
  const V t4 = _mm256_unpacklo_epi32(r[4], r[5]), t5 = _mm256_unpackhi_epi32(r[4], r[5]);
  const V t6 = _mm256_unpacklo_epi32(r[6], r[7]), t7 = _mm256_unpackhi_epi32(r[6], r[7]);
  const V u0 = _mm256_unpacklo_epi64(t0, t2), u1 = _mm256_unpackhi_epi64(t0, t2);
  const V u2 = _mm256_unpacklo_epi64(t1, t3), u3 = _mm256_unpackhi_epi64(t1, t3);
  const V u4 = _mm256_unpacklo_epi64(t4, t6), u5 = _mm256_unpackhi_epi64(t4, t6);
  const V u6 = _mm256_unpacklo_epi64(t5, t7), u7 = _mm256_unpackhi_epi64(t5, t7);
  r[0] = _mm256_permute2x128_si256(u0, u4, 0x20);
  r[1] = _mm256_permute2x128_si256(u1, u5, 0x20);
  r[2] = _mm256_permute2x128_si256(u2, u6, 0x20);
  r[3] = _mm256_permute2x128_si256(u3, u7, 0x20);
  r[4] = _mm256_permute2x128_si256(u0, u4, 0x31);
  r[5] = _mm256_permute2x128_si256(u1, u5, 0x31);
  r[6] = _mm256_permute2x128_si256(u2, u6, 0x31);
  r[7] = _mm256_permute2x128_si256(u3, u7, 0x31);
}

RUVO_LANES void LoadMessage(const std::uint8_t* input, std::size_t offset, V (&m)[16]) {
  for (int half = 0; half < 2; ++half) {
    V rows[8];
    for (std::size_t k = 0; k < kLanes; ++k) {
      rows[k] = _mm256_loadu_si256(reinterpret_cast<const V*>(input + k * kBlake3ChunkBytes + offset + 32 * half));
    }
    Transpose(rows);
    for (int j = 0; j < 8; ++j) m[8 * half + j] = rows[j];
  }
}

#include "core/blake3_lanes.h"

}  // namespace

RUVO_TARGET("avx2")
void Blake3ChunksAvx2(const std::uint8_t* input, std::size_t count, std::uint64_t counter, TBlake3Cv* cvs) {
  for (; count >= kLanes; count -= kLanes) {
    ChunksLanes(input, counter, cvs);
    input += kLanes * kBlake3ChunkBytes;
    counter += kLanes;
    cvs += kLanes;
  }
  if (count > 0) Blake3ChunksSse41(input, count, counter, cvs);
}

#endif
