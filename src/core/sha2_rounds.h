#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

#include "core/big_endian.h"
#include "core/sha2_constants.h"
#include "core/simd_compat.h"

// The rounds that SHA-256 and SHA-512 share: the same steps over 32-bit or 64-bit words, each
// with its own rotations, round count and constants.
//
// Internal linkage on purpose: the files that include this compile it for different processors
// (with and without BMI2), and the linker must never hand one file another file's copy.
namespace {
namespace sha2 {

#define RUVO_SHA2_INLINE RUVO_FORCE_INLINE

template <int N, typename TWord>
RUVO_SHA2_INLINE TWord Rotr(TWord v) {
  return static_cast<TWord>(v >> N | v << (8 * sizeof(TWord) - N));
}

// The rotation amounts of the four sigma functions; the last amount of a small sigma is a shift.
struct TSigmas {
  int Big0[3], Big1[3], Small0[3], Small1[3];
};

template <typename TWordType, int RoundCount, const TWordType* RoundConstants, TSigmas S>
struct TShape {
  using TWord = TWordType;
  static constexpr int Rounds = RoundCount;
  static constexpr const TWord* Constants = RoundConstants;
  RUVO_SHA2_INLINE static TWord BigSigma0(TWord x) {
    return Rotr<S.Big0[0]>(x) ^ Rotr<S.Big0[1]>(x) ^ Rotr<S.Big0[2]>(x);
  }
  RUVO_SHA2_INLINE static TWord BigSigma1(TWord x) {
    return Rotr<S.Big1[0]>(x) ^ Rotr<S.Big1[1]>(x) ^ Rotr<S.Big1[2]>(x);
  }
  RUVO_SHA2_INLINE static TWord SmallSigma0(TWord x) {
    return Rotr<S.Small0[0]>(x) ^ Rotr<S.Small0[1]>(x) ^ x >> S.Small0[2];
  }
  RUVO_SHA2_INLINE static TWord SmallSigma1(TWord x) {
    return Rotr<S.Small1[0]>(x) ^ Rotr<S.Small1[1]>(x) ^ x >> S.Small1[2];
  }
};

using TSha256Shape =
    TShape<std::uint32_t, 64, kSha256RoundConstants, TSigmas{{2, 13, 22}, {6, 11, 25}, {7, 18, 3}, {17, 19, 10}}>;
using TSha512Shape =
    TShape<std::uint64_t, 80, kSha512RoundConstants, TSigmas{{28, 34, 39}, {14, 18, 41}, {1, 8, 7}, {19, 61, 6}}>;

// The value unchanged, but an operand GCC cannot see into: sums split by it keep their grouping.
template <typename TWord>
RUVO_SHA2_INLINE TWord Grouped(TWord v) {
  RUVO_KEEP_IN_REGISTER(v);
  return v;
}

// Round I on the working variables a..h, kept in s without moving them: the roles turn by one
// place a round, so a is s[-I mod 8], b the next, and so on. wk is the message word plus the
// round constant.
template <typename TShape, int I>
RUVO_SHA2_INLINE void Round(typename TShape::TWord (&s)[8], typename TShape::TWord wk) {
  using TWord = typename TShape::TWord;
  const TWord a = s[(8 - I % 8) % 8], b = s[(9 - I % 8) % 8], c = s[(10 - I % 8) % 8];
  TWord& d = s[(11 - I % 8) % 8];
  const TWord e = s[(12 - I % 8) % 8], f = s[(13 - I % 8) % 8], g = s[(14 - I % 8) % 8];
  TWord& h = s[(15 - I % 8) % 8];
  // Ch's two terms share no bit, so they add; Maj's (a ^ b) is the next round's (b ^ c). What
  // waits longest on the round before (Sigma1 of e, then t1) is added last, so that the chain
  // from round to round stays five operations long; GCC would regroup the sums otherwise.
  const TWord t1 = Grouped(h + wk + (e & f) + (~e & g)) + TShape::BigSigma1(e);
  d += t1;
  h = Grouped(TShape::BigSigma0(a) + (((a ^ b) & (b ^ c)) ^ b)) + t1;
}

// The rounds of one block with the schedule in a rolling window of sixteen words.
template <typename TShape, int I>
RUVO_SHA2_INLINE void ScheduledRound(typename TShape::TWord (&s)[8], typename TShape::TWord (&w)[16]) {
  if constexpr (I >= 16)
    w[I % 16] += TShape::SmallSigma1(w[(I - 2) % 16]) + w[(I - 7) % 16] + TShape::SmallSigma0(w[(I - 15) % 16]);
  Round<TShape, I>(s, w[I % 16] + TShape::Constants[I]);
}

template <typename TShape, int... I>
RUVO_SHA2_INLINE void ScheduledRounds(typename TShape::TWord (&s)[8], typename TShape::TWord (&w)[16],
                                      std::integer_sequence<int, I...>) {
  (ScheduledRound<TShape, I>(s, w), ...);
}

template <typename TShape>
RUVO_SHA2_INLINE void AddInto(typename TShape::TWord* state, const typename TShape::TWord (&s)[8]) {
  for (int i = 0; i < 8; ++i) state[i] += s[i];
}

// The whole compression in plain code, for any processor.
template <typename TShape>
RUVO_SHA2_INLINE void Blocks(typename TShape::TWord* state, const std::uint8_t* block, std::size_t count) {
  using TWord = typename TShape::TWord;
  for (; count > 0; --count, block += 16 * sizeof(TWord)) {
    TWord w[16];
    for (int i = 0; i < 16; ++i) w[i] = LoadBigEndian<TWord>(block + i * sizeof(TWord));
    TWord s[8];
    for (int i = 0; i < 8; ++i) s[i] = state[i];
    ScheduledRounds<TShape>(s, w, std::make_integer_sequence<int, TShape::Rounds>());
    AddInto<TShape>(state, s);
  }
}

#undef RUVO_SHA2_INLINE

}  // namespace sha2
}  // namespace
