#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>

#include "engine/hash_queue.h"

// Holds the hashing worker that starts job `index` until Open: the test decides what the user
// interface does first (a cancel, say), whatever the threads' timing. Once opened, or gone, no
// job waits.
class JobGate {
 public:
  explicit JobGate(std::size_t index) : index_(index) {
    THashQueue::OnJobStart = [this](std::size_t job) {
      if (job != index_) return;
      std::unique_lock lock(mutex_);
      opened_.wait(lock, [this] { return open_; });
    };
  }
  JobGate(const JobGate&) = delete;
  JobGate& operator=(const JobGate&) = delete;
  ~JobGate() {
    Open();
    THashQueue::OnJobStart = nullptr;
  }

  void Open() {
    {
      const std::lock_guard lock(mutex_);
      open_ = true;
    }
    opened_.notify_all();
  }

 private:
  std::size_t index_;
  std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
};
