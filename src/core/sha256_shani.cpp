// SHA-256 with the SHA extensions: SHA256RNDS2 does two rounds, so four message words (one
// register) feed two of them, and SHA256MSG1/MSG2 schedule the next four words meanwhile.
#include "core/sha.h"

#if defined(__x86_64__)

#include <immintrin.h>

#include <utility>

#include "core/sha2_constants.h"
#include "core/simd_compat.h"

#define RUVO_TARGET_SHA RUVO_TARGET("sha,sse4.1")
#define RUVO_SHA_INLINE RUVO_FORCE_INLINE RUVO_TARGET_SHA

namespace {

// Rounds 4G..4G+3 on the state halves ABEF and CDGH (the order SHA256RNDS2 takes them in), with
// the message words in w[G % 4]; afterwards w[G % 4] becomes the words of group G + 4, from
// groups G .. G+3 (G+1 .. G+3 are already in w).
template <int G>
RUVO_SHA_INLINE void Group(__m128i& abef, __m128i& cdgh, __m128i (&w)[4]) {
  const __m128i wk =
      _mm_add_epi32(w[G % 4], _mm_loadu_si128(reinterpret_cast<const __m128i*>(kSha256RoundConstants + 4 * G)));
  cdgh = _mm_sha256rnds2_epu32(cdgh, abef, wk);
  abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(wk, 0x0E));
  if constexpr (G < 12) {
    // W[t] = s1(W[t-2]) + W[t-7] + s0(W[t-15]) + W[t-16]; MSG1 adds s0, MSG2 the s1 terms, which
    // depend on the two words just made before them.
    const __m128i w7 = _mm_alignr_epi8(w[(G + 3) % 4], w[(G + 2) % 4], 4);
    w[G % 4] = _mm_sha256msg2_epu32(_mm_add_epi32(_mm_sha256msg1_epu32(w[G % 4], w[(G + 1) % 4]), w7), w[(G + 3) % 4]);
  }
}

template <int... G>
RUVO_SHA_INLINE void Groups(__m128i& abef, __m128i& cdgh, __m128i (&w)[4], std::integer_sequence<int, G...>) {
  (Group<G>(abef, cdgh, w), ...);
}

}  // namespace

RUVO_TARGET_SHA void Sha256BlocksShaNi(std::uint32_t state[8], const std::uint8_t* blocks, std::size_t count) {
  // Big-endian message words into lanes.
  const __m128i byteSwap = _mm_set_epi64x(0x0C0D0E0F08090A0B, 0x0405060700010203);
  // state[0..3] = A B C D and state[4..7] = E F G H, lane 0 first, become ABEF and CDGH with A
  // and C in the top lanes.
  const __m128i dcba = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state));
  const __m128i hgfe = _mm_loadu_si128(reinterpret_cast<const __m128i*>(state + 4));
  const __m128i cdab = _mm_shuffle_epi32(dcba, 0xB1);
  const __m128i efgh = _mm_shuffle_epi32(hgfe, 0x1B);
  __m128i abef = _mm_alignr_epi8(cdab, efgh, 8);
  __m128i cdgh = _mm_blend_epi16(efgh, cdab, 0xF0);

  for (; count > 0; --count, blocks += 64) {
    const __m128i abefBefore = abef, cdghBefore = cdgh;
    __m128i w[4];
    for (int i = 0; i < 4; ++i)
      w[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * i)), byteSwap);
    Groups(abef, cdgh, w, std::make_integer_sequence<int, 16>());
    abef = _mm_add_epi32(abef, abefBefore);
    cdgh = _mm_add_epi32(cdgh, cdghBefore);
  }

  const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
  const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_blend_epi16(feba, dchg, 0xF0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(state + 4), _mm_alignr_epi8(dchg, feba, 8));
}

#endif
