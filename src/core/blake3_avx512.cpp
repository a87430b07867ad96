// BLAKE3, sixteen chunks at once: one chunk a lane of the AVX-512 registers, whose rotations are
// one instruction each.
#include "core/blake3.h"

#if defined(__x86_64__)

// GCC 12 warns of the "undefined" source operand its own unpack intrinsics pass; Clang has no
// such warning.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>

#include <cstdint>

#include "core/blake3_compress.h"
#include "core/simd_compat.h"

#define RUVO_LANES RUVO_FORCE_INLINE RUVO_TARGET("avx512f,avx512bw,avx512vl")

namespace {

using V = __m512i;
constexpr std::size_t kLanes = 16;

RUVO_LANES V Add(V a, V b) { return _mm512_add_epi32(a, b); }
RUVO_LANES V Xor(V a, V b) { return _mm512_xor_si512(a, b); }
RUVO_LANES V Set1(std::uint32_t x) { return _mm512_set1_epi32(static_cast<int>(x)); }
RUVO_LANES V Rot16(V x) { return _mm512_ror_epi32(x, 16); }
RUVO_LANES V Rot12(V x) { return _mm512_ror_epi32(x, 12); }
RUVO_LANES V Rot8(V x) { return _mm512_ror_epi32(x, 8); }
RUVO_LANES V Rot7(V x) { return _mm512_ror_epi32(x, 7); }
RUVO_LANES void Store(std::uint32_t* out, V x) { _mm512_store_si512(out, x); }

RUVO_LANES V LoadCounters(std::uint64_t counter, bool high) {
  alignas(64) std::uint32_t words[kLanes];
  for (std::size_t k = 0; k < kLanes; ++k) {
    words[k] = static_cast<std::uint32_t>(high ? (counter + k) >> 32 : counter + k);
  }
  return _mm512_load_si512(words);
}

// Four words of four chunks in each 128-bit lane of four registers, to one word of the four
// chunks a lane: the 4x4 transposition inside each lane of 128 bits.
RUVO_LANES void TransposeInLanes(V (&r)[4]) {
  const V t0 = _mm512_unpacklo_epi32(r[0], r[1]), t1 = _mm512_unpackhi_epi32(r[0], r[1]);
  const V t2 = _mm512_unpacklo_epi32(r[2], r[3]), t3 = _mm512_unpackhi_epi32(r[2], r[3]);
  r[0] = _mm512_unpacklo_epi64(t0, t2);
  r[1] = _mm512_unpackhi_epi64(t0, t2);
  r[2] = _mm512_unpacklo_epi64(t1, t3);
  r[3] = _mm512_unpackhi_epi64(t1, t3);
}

// Words 4q to 4q + 3 of sixteen chunks: register k takes chunks k, k + 4, k + 8, k + 12 in its
// four 128-bit lanes, so that after the transposition in lanes each register holds one word of
// chunks 0..3 | 4..7 | 8..11 | 12..15 in order.
RUVO_LANES void LoadMessage(const std::uint8_t* input, std::size_t offset, V (&m)[16]) {
  const auto at = [input, offset](std::size_t chunk, int quarter) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(input + chunk * kBlake3ChunkBytes + offset + 16 * quarter));
  };
  for (int quarter = 0; quarter < 4; ++quarter) {
    V rows[4];
    for (std::size_t k = 0; k < 4; ++k) {
      V r = _mm512_castsi128_si512(at(k, quarter));
      r = _mm512_inserti32x4(r, at(k + 4, quarter), 1);
      r = _mm512_inserti32x4(r, at(k + 8, quarter), 2);
      rows[k] = _mm512_inserti32x4(r, at(k + 12, quarter), 3);
    }
    TransposeInLanes(rows);
    for (int j = 0; j < 4; ++j) m[4 * quarter + j] = rows[j];
  }
}

#include "core/blake3_lanes.h"

}  // namespace

RUVO_TARGET("avx512f,avx512bw,avx512vl")
void Blake3ChunksAvx512(const std::uint8_t* input, std::size_t count, std::uint64_t counter, TBlake3Cv* cvs) {
  for (; count >= kLanes; count -= kLanes) {
    ChunksLanes(input, counter, cvs);
    input += kLanes * kBlake3ChunkBytes;
    counter += kLanes;
    cvs += kLanes;
  }
  if (count > 0) Blake3ChunksAvx2(input, count, counter, cvs);
}

#endif
