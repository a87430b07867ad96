#include "core/ordered_work.h"

#include <algorithm>

namespace {

// Jobs done together before a waiting caller is woken.
constexpr std::size_t kWakeBatch = 32;

}  // namespace

OrderedWork::OrderedWork(std::size_t first, std::size_t count, unsigned workers, std::size_t lookahead, Work work)
    : count_(count),
      lookahead_(std::max<std::size_t>(lookahead, 1)),
      work_(std::move(work)),
      next_(first),
      released_(first),
      finished_(lookahead_, 0) {
  const std::size_t jobs = count > first ? count - first : 0;
  const std::size_t threads = std::min<std::size_t>(std::max(workers, 1u), std::max<std::size_t>(jobs, 1));
  threads_.reserve(threads);
  for (std::size_t i = 0; i < threads; ++i) {
    try {
      if (OnThreadStart) OnThreadStart(i);
      threads_.emplace_back([this] { Run(); });
    } catch (...) {
      // Fewer workers only make the run slower; those started are joined by the destructor.
      if (threads_.empty()) throw;
      break;
    }
  }
}

OrderedWork::~OrderedWork() { JoinAll(); }

void OrderedWork::JoinAll() noexcept {
  Stop();
  for (std::thread& thread : threads_) thread.join();
  threads_.clear();
}

void OrderedWork::Run() noexcept {
  for (;;) {
    std::size_t index = 0;
    {
      std::unique_lock lock(mutex_);
      space_.wait(lock, [this] { return stopped_ || next_ >= count_ || next_ < released_ + lookahead_; });
      if (stopped_ || next_ >= count_) return;
      index = next_++;
    }
    work_(index, Slot(index));
    bool wake = false;
    {
      const std::lock_guard lock(mutex_);
      finished_[Slot(index)] = index + 1;
      wake = waiting_ && index >= waitFrom_ && index <= waitTo_ && AllDone(waitFrom_, waitTo_);
    }
    if (wake) done_.notify_all();
  }
}

bool OrderedWork::AllDone(std::size_t first, std::size_t last) const {
  for (std::size_t i = first; i <= last; ++i) {
    if (finished_[Slot(i)] != i + 1) return false;
  }
  return true;
}

bool OrderedWork::WaitFor(std::size_t index, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  if (AllDone(index, index)) return true;
  waitFrom_ = index;
  waitTo_ = std::min({index + kWakeBatch, count_, released_ + lookahead_}) - 1;
  waiting_ = true;
  done_.wait_for(lock, timeout, [&] { return AllDone(waitFrom_, waitTo_); });
  waiting_ = false;
  return AllDone(index, index);
}

void OrderedWork::Release(std::size_t index) {
  {
    const std::lock_guard lock(mutex_);
    released_ = std::max(released_, index + 1);
  }
  space_.notify_all();
}

void OrderedWork::Stop() {
  {
    const std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  space_.notify_all();
}
