#include "core/helper_thread.h"

#include <system_error>
#include <utility>

bool HelperThread::Start(Work work) {
  work_ = std::move(work);
  try {
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

bool HelperThread::Finish() {
  if (thread_.joinable()) thread_.join();
  return !threw_;
}

void HelperThread::Run() noexcept {
  try {
    work_(halt_);
  } catch (...) {
    threw_ = true;
  }
}
