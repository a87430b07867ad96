// The SHA compression paths for this processor, chosen once from cpuid.
#include "core/cpu_features.h"
#include "core/sha.h"

#if defined(__x86_64__)

TSha1BlocksFn Sha1ChosenBlocks() {
  static const TSha1BlocksFn chosen = CpuFeatures().Sha ? Sha1BlocksShaNi : Sha1BlocksPortable;
  return chosen;
}

TSha256BlocksFn Sha256ChosenBlocks() {
  static const TSha256BlocksFn chosen = CpuFeatures().Sha ? Sha256BlocksShaNi : Sha256BlocksPortable;
  return chosen;
}

TSha512BlocksFn Sha512ChosenBlocks() {
  static const TSha512BlocksFn chosen =
      CpuFeatures().Avx2 && CpuFeatures().Bmi2 ? Sha512BlocksAvx2 : Sha512BlocksPortable;
  return chosen;
}

#else

TSha1BlocksFn Sha1ChosenBlocks() { return Sha1BlocksPortable; }
TSha256BlocksFn Sha256ChosenBlocks() { return Sha256BlocksPortable; }
TSha512BlocksFn Sha512ChosenBlocks() { return Sha512BlocksPortable; }

#endif
