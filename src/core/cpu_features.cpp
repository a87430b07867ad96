#include "core/cpu_features.h"

#include <cstdint>

#include "core/simd_compat.h"

namespace {

#if RUVO_X86
TCpuFeatures Detect() {
  TCpuFeatures f;
  const unsigned maxLeaf = Cpuid(0, 0).Eax;
  if (maxLeaf < 1) return f;
  const TCpuidRegs l1 = Cpuid(1, 0);
  const bool sse41 = (l1.Ecx >> 19) & 1;
  f.Sse41 = sse41;
  f.Pclmul = sse41 && ((l1.Ecx >> 1) & 1);
  if (maxLeaf < 7) return f;
  const TCpuidRegs l7 = Cpuid(7, 0);
  f.Sha = sse41 && ((l7.Ebx >> 29) & 1);
  f.Bmi2 = ((l7.Ebx >> 3) & 1) && ((l7.Ebx >> 8) & 1);

  // Wider registers are usable only when the OS saves them across context switches: OSXSAVE says
  // XGETBV works, and XCR0 must have the SSE and AVX state enabled (for ZMM also the opmask and
  // both ZMM halves).
  const bool osxsave = (l1.Ecx >> 27) & 1;
  if (!osxsave) return f;
  const std::uint64_t xcr0 = ReadXcr0();
  constexpr std::uint64_t kYmmState = 0x2 | 0x4;
  constexpr std::uint64_t kZmmState = kYmmState | 0x20 | 0x40 | 0x80;
  const bool avx = (l1.Ecx >> 28) & 1;
  f.Avx2 = avx && (xcr0 & kYmmState) == kYmmState && ((l7.Ebx >> 5) & 1);
  if ((xcr0 & kZmmState) != kZmmState) return f;

  const bool avx512f = (l7.Ebx >> 16) & 1;
  const bool avx512bw = (l7.Ebx >> 30) & 1;
  const bool avx512vl = (l7.Ebx >> 31) & 1;
  f.Avx512 = avx512f && avx512bw && avx512vl;
  f.Vpclmul = f.Avx512 && f.Pclmul && ((l7.Ecx >> 10) & 1);
  return f;
}
#else
TCpuFeatures Detect() { return {}; }
#endif

}  // namespace

const TCpuFeatures& CpuFeatures() {
  static const TCpuFeatures features = Detect();
  return features;
}
