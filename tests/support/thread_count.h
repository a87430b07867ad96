#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include "win/handle.h"

// The threads of this process now: a run that returns has joined every worker it started.
inline int ThreadCount() {
  const win::KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot.get(), &entry); more; more = Thread32Next(snapshot.get(), &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  return count;
}
