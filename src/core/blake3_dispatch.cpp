// The BLAKE3 many-chunks path for this processor, chosen once from cpuid.
#include "core/blake3.h"
#include "core/cpu_features.h"

#if defined(__x86_64__)

TBlake3ChunksFn Blake3ChosenChunks() {
  static const TBlake3ChunksFn chosen = [] {
    const TCpuFeatures& cpu = CpuFeatures();
    if (cpu.Avx512) return Blake3ChunksAvx512;
    if (cpu.Avx2) return Blake3ChunksAvx2;
    if (cpu.Sse41) return Blake3ChunksSse41;
    return Blake3ChunksPortable;
  }();
  return chosen;
}

#else

TBlake3ChunksFn Blake3ChosenChunks() { return Blake3ChunksPortable; }

#endif
