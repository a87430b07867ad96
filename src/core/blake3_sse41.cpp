// BLAKE3, four chunks at once: one chunk a lane of the SSE registers.
#include "core/blake3.h"

#if defined(__x86_64__)

#include <immintrin.h>

#include <cstdint>

#include "core/blake3_compress.h"
#include "core/simd_compat.h"

#define RUVO_LANES RUVO_FORCE_INLINE RUVO_TARGET("sse4.1")

namespace {

using V = __m128i;
constexpr std::size_t kLanes = 4;

RUVO_LANES V Add(V a, V b) { return _mm_add_epi32(a, b); }
RUVO_LANES V Xor(V a, V b) { return _mm_xor_si128(a, b); }
RUVO_LANES V Set1(std::uint32_t x) { return _mm_set1_epi32(static_cast<int>(x)); }
// Rotations by whole bytes are one byte shuffle.
RUVO_LANES V Rot16(V x) {
  return _mm_shuffle_epi8(x, _mm_set_epi8(13, 12, 15, 14, 9, 8, 11, 10, 5, 4, 7, 6, 1, 0, 3, 2));
}
RUVO_LANES V Rot8(V x) {
  return _mm_shuffle_epi8(x, _mm_set_epi8(12, 15, 14, 13, 8, 11, 10, 9, 4, 7, 6, 5, 0, 3, 2, 1));
}
RUVO_LANES V Rot12(V x) { return _mm_or_si128(_mm_srli_epi32(x, 12), _mm_slli_epi32(x, 20)); }
RUVO_LANES V Rot7(V x) { return _mm_or_si128(_mm_srli_epi32(x, 7), _mm_slli_epi32(x, 25)); }
RUVO_LANES void Store(std::uint32_t* out, V x) { _mm_store_si128(reinterpret_cast<V*>(out), x); }

RUVO_LANES V LoadCounters(std::uint64_t counter, bool high) {
  alignas(16) std::uint32_t words[kLanes];
  for (std::size_t k = 0; k < kLanes; ++k) {
    words[k] = static_cast<std::uint32_t>(high ? (counter + k) >> 32 : counter + k);
  }
  return _mm_load_si128(reinterpret_cast<const V*>(words));
}

// Four words of each of the four chunks, rows to columns.
RUVO_LANES void Transpose(V (&r)[4]) {
  const V t0 = _mm_unpacklo_epi32(r[0], r[1]), t1 = _mm_unpackhi_epi32(r[0], r[1]);
  const V t2 = _mm_unpacklo_epi32(r[2], r[3]), t3 = _mm_unpackhi_epi32(r[2], r[3]);
  r[0] = _mm_unpacklo_epi64(t0, t2);
  r[1] = _mm_unpackhi_epi64(t0, t2);
  r[2] = _mm_unpacklo_epi64(t1, t3);
  r[3] = _mm_unpackhi_epi64(t1, t3);
}

RUVO_LANES void LoadMessage(const std::uint8_t* input, std::size_t offset, V (&m)[16]) {
  for (int quarter = 0; quarter < 4; ++quarter) {
    V rows[4];
    for (std::size_t k = 0; k < kLanes; ++k) {
      rows[k] = _mm_loadu_si128(reinterpret_cast<const V*>(input + k * kBlake3ChunkBytes + offset + 16 * quarter));
    }
    Transpose(rows);
    for (int j = 0; j < 4; ++j) m[4 * quarter + j] = rows[j];
  }
}

#include "core/blake3_lanes.h"

}  // namespace

RUVO_TARGET("sse4.1")
void Blake3ChunksSse41(const std::uint8_t* input, std::size_t count, std::uint64_t counter, TBlake3Cv* cvs) {
  for (; count >= kLanes; count -= kLanes) {
    ChunksLanes(input, counter, cvs);
    input += kLanes * kBlake3ChunkBytes;
    counter += kLanes;
    cvs += kLanes;
  }
  if (count > 0) Blake3ChunksPortable(input, count, counter, cvs);
}

#endif
