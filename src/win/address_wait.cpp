#include "win/address_wait.h"

#include <windows.h>

#include "win/late_bound.h"

namespace win {

namespace {

using WaitFn = BOOL WINAPI(volatile void* address, void* compare, SIZE_T size, DWORD milliseconds);
using WakeFn = void WINAPI(void* address);

// In kernelbase since Windows 8; found at run time so that no API-set DLL is imported.
struct AddressFunctions {
  WaitFn* wait = LateBound<WaitFn>(L"kernelbase.dll", "WaitOnAddress");
  WakeFn* wake = LateBound<WakeFn>(L"kernelbase.dll", "WakeByAddressAll");
};

const AddressFunctions& Functions() {
  static const AddressFunctions functions;
  return functions;
}

}  // namespace

void WaitWhileEqual(const std::atomic<std::uint64_t>& counter, std::uint64_t seen) {
  const AddressFunctions& functions = Functions();
  if (functions.wait == nullptr || functions.wake == nullptr) {
    Sleep(1);  // without the pair, a short sleep between looks
    return;
  }
  functions.wait(const_cast<std::atomic<std::uint64_t>*>(&counter), &seen, sizeof seen, INFINITE);
}

void WakeWaiters(std::atomic<std::uint64_t>& counter) {
  if (WakeFn* const wake = Functions().wake) wake(&counter);
}

}  // namespace win
