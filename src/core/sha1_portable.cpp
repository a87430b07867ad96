// SHA-1 compression in plain code, for any processor.
#include "core/sha.h"

#include <utility>

#include "core/big_endian.h"

namespace {

#define RUVO_SHA1_INLINE [[gnu::always_inline]] inline

template <int N>
RUVO_SHA1_INLINE std::uint32_t Rotl(std::uint32_t v) {
  return v << N | v >> (32 - N);
}

// Round I on the working variables a..e, kept in s without moving them: the roles turn by one
// place a round, so a is s[-I mod 5], b the next, and so on. The message word is scheduled in a
// rolling window of sixteen.
template <int I>
RUVO_SHA1_INLINE void Round(std::uint32_t (&s)[5], std::uint32_t (&w)[16]) {
  const std::uint32_t a = s[(80 - I) % 5];
  std::uint32_t& b = s[(81 - I) % 5];
  const std::uint32_t c = s[(82 - I) % 5], d = s[(83 - I) % 5];
  std::uint32_t& e = s[(84 - I) % 5];
  if constexpr (I >= 16) w[I % 16] = Rotl<1>(w[(I - 3) % 16] ^ w[(I - 8) % 16] ^ w[(I - 14) % 16] ^ w[I % 16]);
  // Ch and Maj as sums of terms that share no bit.
  std::uint32_t f, k;
  if constexpr (I < 20) {
    f = (b & c) + (~b & d);
    k = 0x5A827999;  // 2^30 times the square root of 2
  } else if constexpr (I < 40) {
    f = b ^ c ^ d;
    k = 0x6ED9EBA1;  // ... of 3
  } else if constexpr (I < 60) {
    f = (b & c) + (d & (b ^ c));
    k = 0x8F1BBCDC;  // ... of 5
  } else {
    f = b ^ c ^ d;
    k = 0xCA62C1D6;  // ... of 10
  }
  e += Rotl<5>(a) + f + k + w[I % 16];
  b = Rotl<30>(b);
}

template <int... I>
RUVO_SHA1_INLINE void Rounds(std::uint32_t (&s)[5], std::uint32_t (&w)[16], std::integer_sequence<int, I...>) {
  (Round<I>(s, w), ...);
}

}  // namespace

void Sha1BlocksPortable(std::uint32_t state[5], const std::uint8_t* blocks, std::size_t count) {
  for (; count > 0; --count, blocks += 64) {
    std::uint32_t w[16];
    for (int i = 0; i < 16; ++i) w[i] = LoadBigEndian<std::uint32_t>(blocks + 4 * i);
    std::uint32_t s[5];
    for (int i = 0; i < 5; ++i) s[i] = state[i];
    Rounds(s, w, std::make_integer_sequence<int, 80>());
    for (int i = 0; i < 5; ++i) state[i] += s[i];
  }
}
