// The pace of a run's display: a gap of at least the interval, stretched to twenty times what
// the last showing cost, and no gap at all with interval 0.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>

#include "app/run_pacer.h"

namespace {

using std::chrono::milliseconds;

TEST(RunPacerTest, DueAtOnceThenAfterTheInterval) {
  TRunPacer pacer(milliseconds(20));
  EXPECT_TRUE(pacer.Due());  // nothing shown yet
  pacer.Shown();
  EXPECT_FALSE(pacer.Due());
  Sleep(40);
  EXPECT_TRUE(pacer.Due());
}

TEST(RunPacerTest, AnIntervalOfZeroIsAlwaysDue) {
  TRunPacer pacer(milliseconds(0));
  pacer.Begin();
  Sleep(5);
  pacer.Shown();
  EXPECT_TRUE(pacer.Due());
}

TEST(RunPacerTest, ASlowShowingStretchesTheGap) {
  TRunPacer pacer(milliseconds(1));
  pacer.Begin();
  Sleep(15);  // a showing of 15 ms wants a gap of at least 300 ms
  pacer.Shown();
  Sleep(30);
  EXPECT_FALSE(pacer.Due());

  // A cheap showing after it brings the gap back down to the interval.
  pacer.Begin();
  pacer.Shown();
  Sleep(30);
  EXPECT_TRUE(pacer.Due());
}

TEST(RunPacerTest, TheStretchStopsAtTheLongestGap) {
  TRunPacer pacer(milliseconds(1), milliseconds(30));
  pacer.Begin();
  Sleep(15);  // would stretch the gap to 300 ms
  pacer.Shown();
  EXPECT_FALSE(pacer.Due());
  Sleep(60);
  EXPECT_TRUE(pacer.Due());
}

}  // namespace
