#pragma once

#include <atomic>
#include <functional>
#include <thread>

// Work beside the caller's on a thread of its own (the second half of a big file's CRC): started
// when a thread can be had, asked to halt early, and joined before the caller reads what it wrote.
class HelperThread {
 public:
  // halt turns true when the caller asks the work to stop early.
  using Work = std::function<void(const std::atomic<bool>& halt)>;

  HelperThread() = default;
  ~HelperThread() { Finish(); }
  HelperThread(const HelperThread&) = delete;
  HelperThread& operator=(const HelperThread&) = delete;

  // False when no thread could start: the caller does the work itself. Once only.
  [[nodiscard]] bool Start(Work work);
  void Halt() { halt_ = true; }
  // Waits for the work; false when it ended by an exception. What it wrote is the caller's now.
  bool Finish();

 private:
  void Run() noexcept;

  Work work_;
  std::atomic<bool> halt_{false};
  bool threw_ = false;
  std::thread thread_;
};
