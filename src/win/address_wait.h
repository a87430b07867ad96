#pragma once

#include <atomic>
#include <cstdint>

// Waiting for a counter that another thread moves on, without the kernel objects that a condition
// variable waits on: under Wine each wait and wake through those is a trip through wineserver,
// which cost a big file's hashing a tenth of its time (MinGW's std::atomic wait goes through them
// too). WaitOnAddress waits on the address itself. The pair is a CounterWait (core/counter_wait).
namespace win {

// Returns once counter may differ from seen (it can also return without a change).
void WaitWhileEqual(const std::atomic<std::uint64_t>& counter, std::uint64_t seen);
// Wakes every thread waiting on counter; call after changing it.
void WakeWaiters(std::atomic<std::uint64_t>& counter);

}  // namespace win
