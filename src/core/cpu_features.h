#pragma once

// What the running x86-64 processor and operating system let the hashing code use. Read once from
// cpuid (and XGETBV for the register state the OS saves), so one executable runs everywhere.
struct TCpuFeatures {
  bool Pclmul = false;   // PCLMULQDQ with SSE4.1
  bool Avx512 = false;   // AVX-512 F, BW and VL with the ZMM state enabled by the OS
  bool Vpclmul = false;  // VPCLMULQDQ usable on 512-bit registers (implies Avx512)
};

// Detected on first use; the same object afterwards.
const TCpuFeatures& CpuFeatures();
