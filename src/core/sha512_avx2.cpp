// SHA-512 with the message schedule of two blocks at once in AVX2 registers (one 128-bit lane a
// block, two words a lane, which is as many as the schedule allows: W[t] needs W[t-2]), and the
// rounds in general registers, where BMI2's RORX and BMI1's ANDN need no copies.
#include "core/sha.h"

#if defined(__x86_64__)

#include <immintrin.h>

#include <cstdint>
#include <utility>

#include "core/sha2_rounds.h"
#include "core/simd_compat.h"

#define RUVO_TARGET_AVX2 RUVO_TARGET("avx2,bmi,bmi2")
#define RUVO_AVX2_INLINE RUVO_FORCE_INLINE RUVO_TARGET_AVX2

namespace {

// W[t] + K[t] of the two blocks: words t and t+1 of block b at [2 * t + 2 * b] (t even), so that
// one 256-bit store puts two words of each block in place.
constexpr int kScheduledWords = 160;

template <int N>
RUVO_AVX2_INLINE __m256i Rotr(__m256i x) {
  return _mm256_or_si256(_mm256_srli_epi64(x, N), _mm256_slli_epi64(x, 64 - N));
}

RUVO_AVX2_INLINE __m256i SmallSigma0(__m256i x) {
  return _mm256_xor_si256(_mm256_xor_si256(Rotr<1>(x), Rotr<8>(x)), _mm256_srli_epi64(x, 7));
}

RUVO_AVX2_INLINE __m256i SmallSigma1(__m256i x) {
  return _mm256_xor_si256(_mm256_xor_si256(Rotr<19>(x), Rotr<61>(x)), _mm256_srli_epi64(x, 6));
}

// x[Slot] plus the two round constants k[2 * Slot], k[2 * Slot + 1] into wk[4 * Slot ...].
template <int Slot>
RUVO_AVX2_INLINE void Store(const __m256i (&x)[8], const std::uint64_t* k, std::uint64_t* wk) {
  const __m256i constants =
      _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(k + 2 * Slot)));
  auto* entry = reinterpret_cast<__m256i*>(wk + 4 * Slot);
  _mm256_store_si256(entry, _mm256_add_epi64(x[Slot], constants));
  // The rounds are to read W + K from memory: left to itself, GCC would take the words out of
  // the vector registers instead, which costs more than a load.
  RUVO_KEEP_IN_MEMORY(*entry);
}

// Sixteen words on from those in x, two at a time: x[Slot] holds words t-16 and t-15, the slots
// after it the words up to t-1, and it becomes words t and t+1.
template <int Slot>
RUVO_AVX2_INLINE void ScheduleStep(__m256i (&x)[8], const std::uint64_t* k, std::uint64_t* wk) {
  const __m256i w15 = _mm256_alignr_epi8(x[(Slot + 1) % 8], x[Slot], 8);
  const __m256i w7 = _mm256_alignr_epi8(x[(Slot + 5) % 8], x[(Slot + 4) % 8], 8);
  x[Slot] = _mm256_add_epi64(_mm256_add_epi64(x[Slot], SmallSigma0(w15)),
                             _mm256_add_epi64(w7, SmallSigma1(x[(Slot + 7) % 8])));
  Store<Slot>(x, k, wk);
}

template <bool WithSchedule, int I>
RUVO_AVX2_INLINE void StepAfterRound(__m256i (&x)[8], const std::uint64_t* k, std::uint64_t* wk) {
  if constexpr (WithSchedule && I % 2 == 1) ScheduleStep<I / 2>(x, k, wk);
}

// Sixteen rounds of block `Block` over `read`: a whole turn of the working variables' roles, so
// a loop repeats them. With the schedule, its next sixteen words follow into `write`, two after
// every second round, so that the vector units work while the general registers do.
template <int Block, bool WithSchedule, int... I>
RUVO_AVX2_INLINE void SixteenRounds(std::uint64_t (&s)[8], const std::uint64_t* read, __m256i (&x)[8],
                                    const std::uint64_t* k, std::uint64_t* write, std::integer_sequence<int, I...>) {
  ((sha2::Round<sha2::TSha512Shape, I>(s, read[I / 2 * 4 + I % 2 + 2 * Block]),
    StepAfterRound<WithSchedule, I>(x, k, write)),
   ...);
}

// The first block's rounds also run the schedule of both blocks, sixteen words ahead of their use.
template <int Block>
RUVO_AVX2_INLINE void Rounds(std::uint64_t* state, __m256i (&x)[8], std::uint64_t* wk) {
  std::uint64_t s[8];
  for (int i = 0; i < 8; ++i) s[i] = state[i];
  constexpr auto kSixteen = std::make_integer_sequence<int, 16>();
  int word = 0;
  if constexpr (Block == 0)
    for (; word < 64; word += 16)
      SixteenRounds<Block, true>(s, wk + 2 * word, x, kSha512RoundConstants + word + 16, wk + 2 * word + 32, kSixteen);
  for (; word < 80; word += 16) SixteenRounds<Block, false>(s, wk + 2 * word, x, nullptr, nullptr, kSixteen);
  sha2::AddInto<sha2::TSha512Shape>(state, s);
}

template <int... Slot>
RUVO_AVX2_INLINE void StoreFirstWords(const __m256i (&x)[8], std::uint64_t* wk, std::integer_sequence<int, Slot...>) {
  (Store<Slot>(x, kSha512RoundConstants, wk), ...);
}

}  // namespace

RUVO_TARGET_AVX2 void Sha512BlocksAvx2(std::uint64_t state[8], const std::uint8_t* blocks, std::size_t count) {
  // Big-endian words into lanes.
  const __m256i byteSwap =
      _mm256_set_epi64x(0x08090A0B0C0D0E0F, 0x0001020304050607, 0x08090A0B0C0D0E0F, 0x0001020304050607);
  // Aligned by hand: the Windows stack is aligned to 16 bytes only, and a 32-byte store across two
  // cache lines cannot pass its words on to the loads that follow it.
  std::uint64_t space[kScheduledWords + 8];
  const auto misalignment = reinterpret_cast<std::uintptr_t>(space) % 64;
  std::uint64_t* wk = space + (64 - misalignment) % 64 / 8;
  for (; count > 0; blocks += 256) {
    // A last single block is scheduled twice over rather than apart.
    const std::uint8_t* second = count >= 2 ? blocks + 128 : blocks;
    __m256i x[8];
    for (int i = 0; i < 8; ++i) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * i));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(second + 16 * i));
      x[i] = _mm256_shuffle_epi8(_mm256_inserti128_si256(_mm256_castsi128_si256(a), b, 1), byteSwap);
    }
    StoreFirstWords(x, wk, std::make_integer_sequence<int, 8>());
    Rounds<0>(state, x, wk);
    if (count == 1) return;
    Rounds<1>(state, x, wk);
    count -= 2;
  }
}

#endif
