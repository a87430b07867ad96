#include "win/processors.h"

#include <windows.h>

#include <bit>

namespace win {

unsigned UsableProcessorCount() {
  DWORD_PTR process = 0;
  DWORD_PTR system = 0;
  unsigned count = 0;
  // The affinity mask covers one group of up to 64; a process that spans groups has the mask of
  // its first, so the active count of all groups is the better figure there.
  if (GetProcessAffinityMask(GetCurrentProcess(), &process, &system) != FALSE) {
    count = static_cast<unsigned>(std::popcount(static_cast<unsigned long long>(process)));
  }
  const DWORD active = GetActiveProcessorCount(ALL_PROCESSOR_GROUPS);
  if (GetActiveProcessorGroupCount() > 1 && active > count) count = active;
  return count == 0 ? 1 : count;
}

void LowerThreadPriority() { SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL); }

}  // namespace win
