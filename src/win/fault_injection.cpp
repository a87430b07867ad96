#include "win/fault_injection.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

namespace win {

namespace {

struct Fault {
  const InjectedFault* owner;
  FaultCall call;
  std::string pathEnd;
  unsigned long error;
};

// Hashing workers open and read files while a test arms or disarms a fault.
std::mutex faultsLock;
std::vector<Fault> faults;
std::atomic<bool> armed{false};

}  // namespace

InjectedFault::InjectedFault(FaultCall call, std::string pathEnd, unsigned long error) {
  const std::lock_guard lock(faultsLock);
  faults.push_back({this, call, std::move(pathEnd), error});
  armed = true;
}

InjectedFault::~InjectedFault() {
  const std::lock_guard lock(faultsLock);
  std::erase_if(faults, [this](const Fault& fault) { return fault.owner == this; });
  armed = !faults.empty();
}

unsigned long InjectedError(FaultCall call, const std::string& path) {
  if (!armed) return 0;
  const std::lock_guard lock(faultsLock);
  const auto match = std::find_if(faults.rbegin(), faults.rend(), [&](const Fault& fault) {
    return fault.call == call && path.ends_with(fault.pathEnd);
  });
  return match == faults.rend() ? 0 : match->error;
}

}  // namespace win
