// SHA-1 with the SHA extensions: SHA1RNDS4 does four rounds on A..D from one register of four
// message words with E added to the first, SHA1NEXTE makes the next such register (E is A of four
// rounds before, rotated), and SHA1MSG1/MSG2 schedule four words at a time.
#include "core/sha.h"

#if defined(__x86_64__)

#include <immintrin.h>

#include <utility>

#include "core/simd_compat.h"

#define RUVO_TARGET_SHA RUVO_TARGET("sha,sse4.1")
#define RUVO_SHA_INLINE RUVO_FORCE_INLINE RUVO_TARGET_SHA

namespace {

// The registers hold their first word in the top lane, as the instructions want it.
struct TSha1Lanes {
  __m128i Abcd;
  __m128i Previous;  // Abcd before the last four rounds, for SHA1NEXTE
  __m128i W[4];      // message words of groups G .. G+3 at group G, group g in W[g % 4]
};

// Rounds 4G..4G+3, then the words of group G + 4 from groups G .. G+3:
// W[t] = rotl1(W[t-3] ^ W[t-8] ^ W[t-14] ^ W[t-16]); MSG1 XORs W[t-16] and W[t-14], MSG2 adds W[t-3]
// and rotates.
template <int G>
RUVO_SHA_INLINE void Group(TSha1Lanes& x, __m128i e) {
  __m128i withE;
  if constexpr (G == 0)
    withE = _mm_add_epi32(e, x.W[0]);
  else
    withE = _mm_sha1nexte_epu32(x.Previous, x.W[G % 4]);
  x.Previous = x.Abcd;
  // The round function and constant change every twenty rounds.
  x.Abcd = _mm_sha1rnds4_epu32(x.Abcd, withE, G / 5);
  if constexpr (G < 16) {
    const __m128i w = _mm_xor_si128(_mm_sha1msg1_epu32(x.W[G % 4], x.W[(G + 1) % 4]), x.W[(G + 2) % 4]);
    x.W[G % 4] = _mm_sha1msg2_epu32(w, x.W[(G + 3) % 4]);
  }
}

template <int... G>
RUVO_SHA_INLINE void Groups(TSha1Lanes& x, __m128i e, std::integer_sequence<int, G...>) {
  (Group<G>(x, e), ...);
}

}  // namespace

RUVO_TARGET_SHA void Sha1BlocksShaNi(std::uint32_t state[5], const std::uint8_t* blocks, std::size_t count) {
  // Reverses all sixteen bytes: big-endian words, the first one in the top lane.
  const __m128i reverse = _mm_set_epi64x(0x0001020304050607, 0x08090A0B0C0D0E0F);
  TSha1Lanes x;
  x.Abcd = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(state)), 0x1B);
  // E sits in the top lane with zeros below, so adding it to the first words touches only W[0].
  __m128i e = _mm_set_epi32(static_cast<int>(state[4]), 0, 0, 0);

  for (; count > 0; --count, blocks += 64) {
    const __m128i abcdBefore = x.Abcd;
    for (int i = 0; i < 4; ++i)
      x.W[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * i)), reverse);
    Groups(x, e, std::make_integer_sequence<int, 20>());
    e = _mm_sha1nexte_epu32(x.Previous, e);
    x.Abcd = _mm_add_epi32(x.Abcd, abcdBefore);
  }

  _mm_storeu_si128(reinterpret_cast<__m128i*>(state), _mm_shuffle_epi32(x.Abcd, 0x1B));
  state[4] = static_cast<std::uint32_t>(_mm_extract_epi32(e, 3));
}

#endif
