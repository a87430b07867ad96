#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

// How a thread waits for a counter that another thread moves on, and how that thread wakes it:
// the standard atomics' wait and notify unless a platform brings a cheaper pair (Windows:
// win/address_wait).
struct CounterWait {
#if defined(__GLIBCXX__) && !defined(_GLIBCXX_HAVE_LINUX_FUTEX)
  // Without futexes, GCC 12's libstdc++ notifies its condition variable without taking the
  // waiter's mutex, so a wake-up between the waiter's look and its sleep is lost for good: a
  // yield between looks instead.
  void (*wait)(const std::atomic<std::uint64_t>& counter, std::uint64_t seen) =
      [](const std::atomic<std::uint64_t>&, std::uint64_t) { std::this_thread::yield(); };
  void (*wake)(std::atomic<std::uint64_t>& counter) = [](std::atomic<std::uint64_t>&) {};
#else
  // Returns once counter may differ from seen; it may also return without a change.
  void (*wait)(const std::atomic<std::uint64_t>& counter, std::uint64_t seen) =
      [](const std::atomic<std::uint64_t>& counter, std::uint64_t seen) { counter.wait(seen); };
  // Wakes every thread waiting on counter; called after changing it.
  void (*wake)(std::atomic<std::uint64_t>& counter) = [](std::atomic<std::uint64_t>& counter) { counter.notify_all(); };
#endif
};
