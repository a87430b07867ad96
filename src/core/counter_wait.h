#pragma once

#include <atomic>
#include <cstdint>

// How a thread waits for a counter that another thread moves on, and how that thread wakes it:
// the standard atomics' wait and notify unless a platform brings a cheaper pair (Windows:
// win/address_wait).
struct CounterWait {
  // Returns once counter may differ from seen; it may also return without a change.
  void (*wait)(const std::atomic<std::uint64_t>& counter, std::uint64_t seen) =
      [](const std::atomic<std::uint64_t>& counter, std::uint64_t seen) { counter.wait(seen); };
  // Wakes every thread waiting on counter; called after changing it.
  void (*wake)(std::atomic<std::uint64_t>& counter) = [](std::atomic<std::uint64_t>& counter) {
    counter.notify_all();
  };
};
