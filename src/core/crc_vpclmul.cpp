// CRC folding with VPCLMULQDQ on 512-bit registers: each register holds four 128-bit blocks that
// fold exactly as in crc_clmul.cpp, with the multipliers broadcast to every lane.
#include "core/crc.h"

#if defined(__x86_64__)

#include <immintrin.h>

#include "core/crc_fold.h"
#include "core/simd_compat.h"

#define RUVO_TARGET_VPCLMUL RUVO_TARGET("sse4.1,pclmul,avx2,avx512f,avx512bw,avx512vl,vpclmulqdq")

namespace {

using namespace crc_fold;

template <typename TPoly>
struct TVpclmulKeys {
  static constexpr TFoldKeys By2048 = FoldKeys(2048, TPoly::Width, TPoly::Reflected);
  static constexpr TFoldKeys By512 = FoldKeys(512, TPoly::Width, TPoly::Reflected);
  static constexpr TFoldKeys By384 = FoldKeys(384, TPoly::Width, TPoly::Reflected);
  static constexpr TFoldKeys By256 = FoldKeys(256, TPoly::Width, TPoly::Reflected);
  static constexpr TFoldKeys By128 = FoldKeys(128, TPoly::Width, TPoly::Reflected);
};

RUVO_TARGET_VPCLMUL inline __m512i Broadcast(TFoldKeys k) {
  const auto low = static_cast<long long>(k.Low), high = static_cast<long long>(k.High);
  return _mm512_set_epi64(high, low, high, low, high, low, high, low);
}

// The zero-masking form: GCC 12 warns on the undefined pass-through operand of the plain one
// (and of _mm512_castsi512_si128, built on it).
template <int Index>
RUVO_TARGET_VPCLMUL inline __m128i Lane(__m512i x) {
  return _mm512_maskz_extracti32x4_epi32(0xF, x, Index);
}

RUVO_TARGET_VPCLMUL inline __m512i Fold(__m512i x, __m512i keys, __m512i next) {
  const __m512i low = _mm512_clmulepi64_epi128(x, keys, 0x00);
  const __m512i high = _mm512_clmulepi64_epi128(x, keys, 0x11);
  return _mm512_ternarylogic_epi64(low, high, next, 0x96);  // three-way XOR
}

RUVO_TARGET_VPCLMUL inline __m128i Fold(__m128i x, __m128i keys, __m128i next) {
  const __m128i low = _mm_clmulepi64_si128(x, keys, 0x00);
  const __m128i high = _mm_clmulepi64_si128(x, keys, 0x11);
  return _mm_ternarylogic_epi64(low, high, next, 0x96);
}

RUVO_TARGET_VPCLMUL inline __m512i Load(const std::uint8_t* p) { return _mm512_loadu_si512(p); }

// Four registers of 64 bytes each: 256 bytes per round; needs count >= 256.
template <typename TPoly>
RUVO_TARGET_VPCLMUL typename TPoly::TReg UpdateVpclmul(typename TPoly::TReg reg, const void* data, std::size_t count) {
  using TKeys = TVpclmulKeys<TPoly>;
  const auto* p = static_cast<const std::uint8_t*>(data);
  const __m512i start = _mm512_zextsi128_si512(_mm_cvtsi32_si128(static_cast<int>(reg)));
  __m512i x0 = _mm512_xor_si512(Load(p), start);
  __m512i x1 = Load(p + 64);
  __m512i x2 = Load(p + 128);
  __m512i x3 = Load(p + 192);
  p += 256;
  count -= 256;
  const __m512i by2048 = Broadcast(TKeys::By2048);
  for (; count >= 256; p += 256, count -= 256) {
    x0 = Fold(x0, by2048, Load(p));
    x1 = Fold(x1, by2048, Load(p + 64));
    x2 = Fold(x2, by2048, Load(p + 128));
    x3 = Fold(x3, by2048, Load(p + 192));
  }
  const __m512i by512 = Broadcast(TKeys::By512);
  __m512i x = Fold(Fold(Fold(x0, by512, x1), by512, x2), by512, x3);
  for (; count >= 64; p += 64, count -= 64) x = Fold(x, by512, Load(p));

  // Lanes 0..2 move on by 384, 256 and 128 bits onto lane 3, which stays as it is.
  const auto k384 = TKeys::By384, k256 = TKeys::By256, k128 = TKeys::By128;
  const __m512i laneKeys = _mm512_set_epi64(0, 0, static_cast<long long>(k128.High), static_cast<long long>(k128.Low),
                                            static_cast<long long>(k256.High), static_cast<long long>(k256.Low),
                                            static_cast<long long>(k384.High), static_cast<long long>(k384.Low));
  const __m512i moved =
      _mm512_xor_si512(_mm512_clmulepi64_epi128(x, laneKeys, 0x00), _mm512_clmulepi64_epi128(x, laneKeys, 0x11));
  __m128i r = _mm_ternarylogic_epi64(Lane<0>(moved), Lane<1>(moved), Lane<2>(moved), 0x96);
  r = _mm_xor_si128(r, Lane<3>(x));

  const __m128i by128 = _mm_set_epi64x(static_cast<long long>(k128.High), static_cast<long long>(k128.Low));
  for (; count >= 16; p += 16, count -= 16) r = Fold(r, by128, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
  alignas(16) std::uint8_t folded[16];
  _mm_store_si128(reinterpret_cast<__m128i*>(folded), r);
  return FinishFold<TPoly>(folded, p, count);
}

}  // namespace

std::uint16_t Crc16UpdateVpclmul(std::uint16_t reg, const void* data, std::size_t count) {
  if (count < 256) return Crc16UpdateClmul(reg, data, count);
  return UpdateVpclmul<TCrc16Poly>(reg, data, count);
}

std::uint32_t Crc32UpdateVpclmul(std::uint32_t reg, const void* data, std::size_t count) {
  if (count < 256) return Crc32UpdateClmul(reg, data, count);
  return UpdateVpclmul<TCrc32Poly>(reg, data, count);
}

#endif
