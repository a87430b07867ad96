// CRC folding with PCLMULQDQ on 128-bit registers (see crc_fold.h for the multipliers).
#include "core/crc.h"

#if defined(__x86_64__)

#include <immintrin.h>

#include "core/crc_fold.h"
#include "core/simd_compat.h"

#define RUVO_TARGET_CLMUL RUVO_TARGET("sse4.1,pclmul")

namespace {

using namespace crc_fold;

template <typename TPoly>
struct TClmulKeys {
  static constexpr TFoldKeys By512 = FoldKeys(512, TPoly::Width, TPoly::Reflected);
  static constexpr TFoldKeys By128 = FoldKeys(128, TPoly::Width, TPoly::Reflected);
};

RUVO_TARGET_CLMUL inline __m128i Keys(TFoldKeys k) {
  return _mm_set_epi64x(static_cast<long long>(k.High), static_cast<long long>(k.Low));
}

RUVO_TARGET_CLMUL inline __m128i Fold(__m128i x, __m128i keys, __m128i next) {
  const __m128i low = _mm_clmulepi64_si128(x, keys, 0x00);
  const __m128i high = _mm_clmulepi64_si128(x, keys, 0x11);
  return _mm_xor_si128(_mm_xor_si128(low, high), next);
}

RUVO_TARGET_CLMUL inline __m128i Load(const std::uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Four independent lanes of 16 bytes hide the multiply latency; needs count >= 64.
template <typename TPoly>
RUVO_TARGET_CLMUL typename TPoly::TReg UpdateClmul(typename TPoly::TReg reg, const void* data, std::size_t count) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  // The register XORed onto the first bytes is the same as starting from it.
  __m128i x0 = _mm_xor_si128(Load(p), _mm_cvtsi32_si128(static_cast<int>(reg)));
  __m128i x1 = Load(p + 16);
  __m128i x2 = Load(p + 32);
  __m128i x3 = Load(p + 48);
  p += 64;
  count -= 64;
  const __m128i by512 = Keys(TClmulKeys<TPoly>::By512);
  for (; count >= 64; p += 64, count -= 64) {
    x0 = Fold(x0, by512, Load(p));
    x1 = Fold(x1, by512, Load(p + 16));
    x2 = Fold(x2, by512, Load(p + 32));
    x3 = Fold(x3, by512, Load(p + 48));
  }
  const __m128i by128 = Keys(TClmulKeys<TPoly>::By128);
  __m128i x = Fold(Fold(Fold(x0, by128, x1), by128, x2), by128, x3);
  for (; count >= 16; p += 16, count -= 16) x = Fold(x, by128, Load(p));
  alignas(16) std::uint8_t folded[16];
  _mm_store_si128(reinterpret_cast<__m128i*>(folded), x);
  return FinishFold<TPoly>(folded, p, count);
}

}  // namespace

std::uint16_t Crc16UpdateClmul(std::uint16_t reg, const void* data, std::size_t count) {
  if (count < 64) return Crc16UpdateSlice16(reg, data, count);
  return UpdateClmul<TCrc16Poly>(reg, data, count);
}

std::uint32_t Crc32UpdateClmul(std::uint32_t reg, const void* data, std::size_t count) {
  if (count < 64) return Crc32UpdateSlice16(reg, data, count);
  return UpdateClmul<TCrc32Poly>(reg, data, count);
}

#endif
