#pragma once

// What the running x86-64 processor and operating system let the hashing code use. Read once from
// cpuid (and XGETBV for the register state the OS saves), so one executable runs everywhere.
struct TCpuFeatures {
  bool Sse41 = false;    // SSE4.1
  bool Pclmul = false;   // PCLMULQDQ with SSE4.1
  bool Sha = false;      // the SHA-1 and SHA-256 instructions with SSE4.1
  bool Bmi2 = false;     // BMI2 (RORX, SHLX) together with BMI1 (ANDN)
  bool Avx2 = false;     // AVX2 with the YMM state enabled by the OS
  bool Avx512 = false;   // AVX-512 F, BW and VL with the ZMM state enabled by the OS
  bool Vpclmul = false;  // VPCLMULQDQ usable on 512-bit registers (implies Avx512)
};

// Detected on first use; the same object afterwards.
const TCpuFeatures& CpuFeatures();
