#pragma once

// The compiler spellings that the SIMD paths and the processor detection need, in one place, so
// that GCC, Clang and MSVC all build them: the instruction sets a function may use beyond the
// build's baseline, forced inlining, cpuid and XGETBV, and the empty barriers that keep the
// optimizer from regrouping sums or from moving a value out of memory.

#include <cstdint>

#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
// MSVC compiles any intrinsic in any function: the run-time choice alone guards its use.
#define RUVO_TARGET(features)
#define RUVO_FORCE_INLINE __forceinline
// MSVC has no inline assembly for x64; it does not regroup these sums by itself.
#define RUVO_KEEP_IN_REGISTER(value) ((void)0)
#define RUVO_KEEP_IN_MEMORY(object) ((void)0)
#else
#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif
#define RUVO_TARGET(features) __attribute__((target(features)))
#define RUVO_FORCE_INLINE [[gnu::always_inline]] inline
// The value unchanged, but an operand the optimizer cannot see into.
#define RUVO_KEEP_IN_REGISTER(value) __asm__("" : "+r"(value))
// The object unchanged, but written as far as the optimizer knows: later reads load it.
#define RUVO_KEEP_IN_MEMORY(object) __asm__("" : "+m"(object))
#endif

#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || defined(_M_IX86)
#define RUVO_X86 1

struct TCpuidRegs {
  unsigned Eax = 0, Ebx = 0, Ecx = 0, Edx = 0;
};

inline TCpuidRegs Cpuid(unsigned leaf, unsigned subleaf) {
  TCpuidRegs r;
#if defined(_MSC_VER) && !defined(__clang__)
  int regs[4];
  __cpuidex(regs, static_cast<int>(leaf), static_cast<int>(subleaf));
  r = {static_cast<unsigned>(regs[0]), static_cast<unsigned>(regs[1]), static_cast<unsigned>(regs[2]),
       static_cast<unsigned>(regs[3])};
#else
  __cpuid_count(leaf, subleaf, r.Eax, r.Ebx, r.Ecx, r.Edx);
#endif
  return r;
}

// XCR0, the register state the operating system saves; only when cpuid reports OSXSAVE.
inline std::uint64_t ReadXcr0() {
#if defined(_MSC_VER) && !defined(__clang__)
  return _xgetbv(0);
#else
  // Spelled as the instruction, not _xgetbv(), which GCC and Clang allow only in functions built
  // for XSAVE.
  unsigned lo = 0, hi = 0;
  __asm__ volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
  return (static_cast<std::uint64_t>(hi) << 32) | lo;
#endif
}
#endif
