// The pace of a run's display: a gap of at least the interval, stretched to twenty times what
// the last showing cost, and no gap at all with interval 0. The pacer reads a clock of the
// test's own, which moves only when the test says, so that no result depends on the machine's
// speed or load.
#include <gtest/gtest.h>

#include <chrono>

#include "app/run_pacer.h"

namespace {

using std::chrono::hours;
using std::chrono::milliseconds;

// Starts well after the clock's epoch: the pacer takes the epoch for "never".
TRunPacer::Clock::time_point fakeNow = TRunPacer::Clock::time_point(hours(1));

TRunPacer::Clock::time_point FakeNow() { return fakeNow; }
void Pass(milliseconds time) { fakeNow += time; }

TRunPacer Pacer(milliseconds interval, milliseconds longest = {}) { return TRunPacer(interval, longest, &FakeNow); }

TEST(RunPacerTest, DueAtOnceThenAfterTheInterval) {
  TRunPacer pacer = Pacer(milliseconds(20));
  EXPECT_TRUE(pacer.Due());  // nothing shown yet
  pacer.Shown();
  EXPECT_FALSE(pacer.Due());
  Pass(milliseconds(19));
  EXPECT_FALSE(pacer.Due());
  Pass(milliseconds(1));
  EXPECT_TRUE(pacer.Due());
}

TEST(RunPacerTest, AnIntervalOfZeroIsAlwaysDue) {
  TRunPacer pacer = Pacer(milliseconds(0));
  pacer.Begin();
  Pass(milliseconds(5));
  pacer.Shown();
  EXPECT_TRUE(pacer.Due());
}

TEST(RunPacerTest, ASlowShowingStretchesTheGap) {
  TRunPacer pacer = Pacer(milliseconds(1));
  pacer.Begin();
  Pass(milliseconds(15));  // a showing of 15 ms wants a gap of at least 300 ms
  pacer.Shown();
  Pass(milliseconds(30));
  EXPECT_FALSE(pacer.Due());
  Pass(milliseconds(269));
  EXPECT_FALSE(pacer.Due());
  Pass(milliseconds(1));
  EXPECT_TRUE(pacer.Due());

  // A cheap showing after it brings the gap back down to the interval.
  pacer.Begin();
  pacer.Shown();
  Pass(milliseconds(30));
  EXPECT_TRUE(pacer.Due());
}

TEST(RunPacerTest, TheStretchStopsAtTheLongestGap) {
  TRunPacer pacer = Pacer(milliseconds(1), milliseconds(30));
  pacer.Begin();
  Pass(milliseconds(15));  // would stretch the gap to 300 ms
  pacer.Shown();
  EXPECT_FALSE(pacer.Due());
  Pass(milliseconds(29));
  EXPECT_FALSE(pacer.Due());
  Pass(milliseconds(1));
  EXPECT_TRUE(pacer.Due());
}

}  // namespace
