#include "core/md5.h"

#include <cstddef>
#include <cstring>

namespace {

// Always inlined, so that even unoptimised builds (the sanitizer tests) stay quick.
#define RUVO_MD5_INLINE [[gnu::always_inline]] inline

// Compilers turn this into one load on little-endian machines.
RUVO_MD5_INLINE std::uint32_t LoadLe32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

template <int S>
RUVO_MD5_INLINE std::uint32_t Rotl(std::uint32_t v) {
  return (v << S) | (v >> (32 - S));
}

inline void StoreLe32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Each step waits only on b, the value of the step before; everything else (a, the message word
// and the constant, and the parts of the round function without b) is summed beforehand, so the
// chain per step stays at two or three operations besides the rotation and the final add.
template <int S>
RUVO_MD5_INLINE void StepF(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                           std::uint32_t wordPlusT) {
  a = b + Rotl<S>(a + wordPlusT + (d ^ (b & (c ^ d))));
}

// G = (b & d) | (c & ~d); the two terms share no bit, so they can be added, and c & ~d early.
template <int S>
RUVO_MD5_INLINE void StepG(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                           std::uint32_t wordPlusT) {
  a = b + Rotl<S>(a + wordPlusT + (c & ~d) + (b & d));
}

template <int S>
RUVO_MD5_INLINE void StepH(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                           std::uint32_t wordPlusT) {
  a = b + Rotl<S>(a + wordPlusT + (b ^ (c ^ d)));
}

template <int S>
RUVO_MD5_INLINE void StepI(std::uint32_t& a, std::uint32_t b, std::uint32_t c, std::uint32_t d,
                           std::uint32_t wordPlusT) {
  a = b + Rotl<S>(a + wordPlusT + (c ^ (b | ~d)));
}

// The four rounds of sixteen steps, with the constants T[i] = floor(2^32 * |sin(i)|), over
// `blocks` consecutive 64-byte blocks; the chaining values stay in registers between blocks.
void Compress(std::uint32_t state[4], const std::uint8_t* block, std::size_t blocks) {
  std::uint32_t sa = state[0], sb = state[1], sc = state[2], sd = state[3];
  for (; blocks > 0; --blocks, block += 64) {
    std::uint32_t x[16];
    for (int i = 0; i < 16; ++i) x[i] = LoadLe32(block + 4 * i);
    std::uint32_t a = sa, b = sb, c = sc, d = sd;

    StepF<7>(a, b, c, d, x[0] + 0xD76AA478);
    StepF<12>(d, a, b, c, x[1] + 0xE8C7B756);
    StepF<17>(c, d, a, b, x[2] + 0x242070DB);
    StepF<22>(b, c, d, a, x[3] + 0xC1BDCEEE);
    StepF<7>(a, b, c, d, x[4] + 0xF57C0FAF);
    StepF<12>(d, a, b, c, x[5] + 0x4787C62A);
    StepF<17>(c, d, a, b, x[6] + 0xA8304613);
    StepF<22>(b, c, d, a, x[7] + 0xFD469501);
    StepF<7>(a, b, c, d, x[8] + 0x698098D8);
    StepF<12>(d, a, b, c, x[9] + 0x8B44F7AF);
    StepF<17>(c, d, a, b, x[10] + 0xFFFF5BB1);
    StepF<22>(b, c, d, a, x[11] + 0x895CD7BE);
    StepF<7>(a, b, c, d, x[12] + 0x6B901122);
    StepF<12>(d, a, b, c, x[13] + 0xFD987193);
    StepF<17>(c, d, a, b, x[14] + 0xA679438E);
    StepF<22>(b, c, d, a, x[15] + 0x49B40821);

    StepG<5>(a, b, c, d, x[1] + 0xF61E2562);
    StepG<9>(d, a, b, c, x[6] + 0xC040B340);
    StepG<14>(c, d, a, b, x[11] + 0x265E5A51);
    StepG<20>(b, c, d, a, x[0] + 0xE9B6C7AA);
    StepG<5>(a, b, c, d, x[5] + 0xD62F105D);
    StepG<9>(d, a, b, c, x[10] + 0x02441453);
    StepG<14>(c, d, a, b, x[15] + 0xD8A1E681);
    StepG<20>(b, c, d, a, x[4] + 0xE7D3FBC8);
    StepG<5>(a, b, c, d, x[9] + 0x21E1CDE6);
    StepG<9>(d, a, b, c, x[14] + 0xC33707D6);
    StepG<14>(c, d, a, b, x[3] + 0xF4D50D87);
    StepG<20>(b, c, d, a, x[8] + 0x455A14ED);
    StepG<5>(a, b, c, d, x[13] + 0xA9E3E905);
    StepG<9>(d, a, b, c, x[2] + 0xFCEFA3F8);
    StepG<14>(c, d, a, b, x[7] + 0x676F02D9);
    StepG<20>(b, c, d, a, x[12] + 0x8D2A4C8A);

    StepH<4>(a, b, c, d, x[5] + 0xFFFA3942);
    StepH<11>(d, a, b, c, x[8] + 0x8771F681);
    StepH<16>(c, d, a, b, x[11] + 0x6D9D6122);
    StepH<23>(b, c, d, a, x[14] + 0xFDE5380C);
    StepH<4>(a, b, c, d, x[1] + 0xA4BEEA44);
    StepH<11>(d, a, b, c, x[4] + 0x4BDECFA9);
    StepH<16>(c, d, a, b, x[7] + 0xF6BB4B60);
    StepH<23>(b, c, d, a, x[10] + 0xBEBFBC70);
    StepH<4>(a, b, c, d, x[13] + 0x289B7EC6);
    StepH<11>(d, a, b, c, x[0] + 0xEAA127FA);
    StepH<16>(c, d, a, b, x[3] + 0xD4EF3085);
    StepH<23>(b, c, d, a, x[6] + 0x04881D05);
    StepH<4>(a, b, c, d, x[9] + 0xD9D4D039);
    StepH<11>(d, a, b, c, x[12] + 0xE6DB99E5);
    StepH<16>(c, d, a, b, x[15] + 0x1FA27CF8);
    StepH<23>(b, c, d, a, x[2] + 0xC4AC5665);

    StepI<6>(a, b, c, d, x[0] + 0xF4292244);
    StepI<10>(d, a, b, c, x[7] + 0x432AFF97);
    StepI<15>(c, d, a, b, x[14] + 0xAB9423A7);
    StepI<21>(b, c, d, a, x[5] + 0xFC93A039);
    StepI<6>(a, b, c, d, x[12] + 0x655B59C3);
    StepI<10>(d, a, b, c, x[3] + 0x8F0CCC92);
    StepI<15>(c, d, a, b, x[10] + 0xFFEFF47D);
    StepI<21>(b, c, d, a, x[1] + 0x85845DD1);
    StepI<6>(a, b, c, d, x[8] + 0x6FA87E4F);
    StepI<10>(d, a, b, c, x[15] + 0xFE2CE6E0);
    StepI<15>(c, d, a, b, x[6] + 0xA3014314);
    StepI<21>(b, c, d, a, x[13] + 0x4E0811A1);
    StepI<6>(a, b, c, d, x[4] + 0xF7537E82);
    StepI<10>(d, a, b, c, x[11] + 0xBD3AF235);
    StepI<15>(c, d, a, b, x[2] + 0x2AD7D2BB);
    StepI<21>(b, c, d, a, x[9] + 0xEB86D391);

    sa += a;
    sb += b;
    sc += c;
    sd += d;
  }
  state[0] = sa;
  state[1] = sb;
  state[2] = sc;
  state[3] = sd;
}

}  // namespace

void MD5Init(TMD5Context& context) {
  context.State[0] = 0x67452301;
  context.State[1] = 0xEFCDAB89;
  context.State[2] = 0x98BADCFE;
  context.State[3] = 0x10325476;
  context.Count[0] = 0;
  context.Count[1] = 0;
}

void MD5Transform(TMD5Context& context) { Compress(context.State, context.Buffer, 1); }

// Whole input blocks are compressed where they lie rather than copied into Buffer first: the
// digest is the same, only the copy is saved. Buffer holds just the bytes still waiting.
void MD5Update(TMD5Context& context, const void* bytes, std::uint32_t count) {
  if (count == 0) return;
  const auto* input = static_cast<const std::uint8_t*>(bytes);
  const std::uint32_t index = (context.Count[0] >> 3) & 63;
  const std::uint32_t oldLow = context.Count[0];
  context.Count[0] += count << 3;
  if (context.Count[0] < oldLow) ++context.Count[1];
  context.Count[1] += count >> 29;

  if (index != 0) {
    const std::uint32_t room = 64 - index;
    if (count < room) {
      std::memcpy(context.Buffer + index, input, count);
      return;
    }
    std::memcpy(context.Buffer + index, input, room);
    MD5Transform(context);
    input += room;
    count -= room;
  }
  Compress(context.State, input, count / 64);
  input += count & ~63u;
  count &= 63;
  if (count > 0) std::memcpy(context.Buffer, input, count);
}

void MD5Final(TMD5Context& context, TMD5Digest& digest) {
  const std::uint32_t index = (context.Count[0] >> 3) & 63;
  context.Buffer[index] = 0x80;
  if (index < 56) {
    std::memset(context.Buffer + index + 1, 0, 55 - index);
  } else {
    std::memset(context.Buffer + index + 1, 0, 63 - index);
    MD5Transform(context);
    std::memset(context.Buffer, 0, 56);
  }
  StoreLe32(context.Buffer + 56, context.Count[0]);
  StoreLe32(context.Buffer + 60, context.Count[1]);
  MD5Transform(context);
  for (int i = 0; i < 4; ++i) StoreLe32(digest.data() + 4 * i, context.State[i]);
  std::memset(&context, 0, sizeof context);
}
