// The work queue's promises under real threads (this file also runs under ThreadSanitizer):
// results in order, never more than the lookahead ahead, a stop that ends every worker, and a
// start part-way.
#include "core/ordered_work.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

TEST(OrderedWork, ResultsComeInOrderFromAnyNumberOfWorkers) {
  struct Case {
    std::size_t count;
    unsigned workers;
    std::size_t lookahead;
  };
  const Case cases[] = {{0, 4, 8}, {1, 1, 1}, {500, 1, 16}, {500, 4, 3}, {2000, 8, 64}, {7, 32, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.count) + " jobs, " + std::to_string(c.workers) + " workers");
    std::vector<std::size_t> slots(c.lookahead, SIZE_MAX);
    std::atomic<std::size_t> released{0};
    std::atomic<bool> tooFarAhead{false};
    OrderedWork work(0, c.count, c.workers, c.lookahead, [&](std::size_t index, std::size_t slot) {
      if (index >= released + c.lookahead) tooFarAhead = true;
      // Uneven jobs, so that later ones often finish first.
      if (index % 7 == 0) std::this_thread::sleep_for(50us);
      slots[slot] = index * 3;
    });
    for (std::size_t i = 0; i < c.count; ++i) {
      while (!work.WaitFor(i, 100ms)) {
      }
      EXPECT_EQ(slots[work.Slot(i)], i * 3);
      released = i + 1;
      work.Release(i);
    }
    EXPECT_FALSE(tooFarAhead);
  }
}

TEST(OrderedWork, StopEndsEveryWorkerWithJobsLeft) {
  std::atomic<std::size_t> started{0};
  {
    OrderedWork work(0, 100000, 4, 8, [&](std::size_t, std::size_t) {
      ++started;
      std::this_thread::sleep_for(100us);
    });
    ASSERT_TRUE(work.WaitFor(0, 10s));
    work.Release(0);
    work.Stop();
  }  // joins every worker: a worker left running would touch `started` after this scope
  EXPECT_LE(started.load(), 9u) << "no job starts beyond the lookahead";
  // Without a stop, the destructor also stops and joins.
  {
    OrderedWork unattended(0, 100000, 2, 4, [](std::size_t, std::size_t) {});
  }
}

TEST(OrderedWork, StartsPartWay) {
  std::vector<std::size_t> slots(4, SIZE_MAX);
  std::atomic<std::size_t> lowest{SIZE_MAX};
  OrderedWork work(10, 20, 3, slots.size(), [&](std::size_t index, std::size_t slot) {
    std::size_t seen = lowest;
    while (index < seen && !lowest.compare_exchange_weak(seen, index)) {
    }
    slots[slot] = index;
  });
  for (std::size_t i = 10; i < 20; ++i) {
    ASSERT_TRUE(work.WaitFor(i, 10s));
    EXPECT_EQ(slots[work.Slot(i)], i);
    work.Release(i);
  }
  EXPECT_EQ(lowest.load(), 10u);
}

// A worker that cannot start: the run goes on with the workers started before it, and with none
// the constructor throws having left no thread behind (a joinable one destroyed would end the
// process).
TEST(OrderedWork, RunsWithTheWorkersThatStarted) {
  struct Case {
    std::size_t failingWorker;
    bool constructs;
  };
  const Case cases[] = {{0, false}, {1, true}, {3, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE("worker " + std::to_string(c.failingWorker) + " fails");
    OrderedWork::OnThreadStart = [&](std::size_t i) {
      if (i == c.failingWorker)
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    };
    std::vector<std::size_t> slots(4, SIZE_MAX);
    const auto work = [&](std::size_t index, std::size_t slot) { slots[slot] = index; };
    if (!c.constructs) {
      EXPECT_THROW(OrderedWork(0, 50, 4, slots.size(), work), std::system_error);
      continue;
    }
    OrderedWork ordered(0, 50, 4, slots.size(), work);
    for (std::size_t i = 0; i < 50; ++i) {
      ASSERT_TRUE(ordered.WaitFor(i, 10s));
      EXPECT_EQ(slots[ordered.Slot(i)], i);
      ordered.Release(i);
    }
  }
  OrderedWork::OnThreadStart = nullptr;
}

}  // namespace
