#include "core/placement.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

std::ostream& operator<<(std::ostream& out, const TWindowBounds& b) {
  return out << '(' << b.left << ", " << b.top << ", " << b.width << " x " << b.height << ')';
}

namespace {

// A work area that does not start at the origin, as with a taskbar at the top or left, on a
// monitor of its own.
constexpr TScreenArea kWork{100, 50, 1380, 1010};

struct Case {
  const char* name;
  TWindowBounds window;
  TWindowBounds placed;
};

const Case kCases[] = {
    {"inside stays", {200, 300, 408, 327}, {200, 300, 408, 327}},
    {"touching every edge stays", {100, 50, 1280, 960}, {100, 50, 1280, 960}},
    {"at the bottom right corner stays", {972, 683, 408, 327}, {972, 683, 408, 327}},
    {"off to the right", {999999, 300, 408, 327}, {972, 300, 408, 327}},
    {"partly off to the right", {1000, 300, 408, 327}, {972, 300, 408, 327}},
    {"off to the left", {-5000, 300, 408, 327}, {100, 300, 408, 327}},
    {"partly off to the left", {90, 300, 408, 327}, {100, 300, 408, 327}},
    {"below", {200, 32767, 408, 327}, {200, 683, 408, 327}},
    {"above", {200, -999999, 408, 327}, {200, 50, 408, 327}},
    {"in the taskbar's strip", {200, 0, 408, 327}, {200, 50, 408, 327}},
    {"off at a corner", {999999, -999999, 408, 327}, {972, 50, 408, 327}},
    {"huge negative", {INT_MIN, INT_MIN, 408, 327}, {100, 50, 408, 327}},
    {"huge positive, its far edge beyond int", {INT_MAX, INT_MAX, 408, 327}, {972, 683, 408, 327}},
    {"wider than the area", {500, 300, 2000, 327}, {100, 300, 2000, 327}},
    {"taller than the area", {200, -300, 408, 5000}, {200, 50, 408, 5000}},
    {"larger than the area, far away", {-99999, 99999, 5000, 5000}, {100, 50, 5000, 5000}},
    {"as large as int allows", {0, 0, INT_MAX, INT_MAX}, {100, 50, INT_MAX, INT_MAX}},
    {"negative size counts as none", {2000, 2000, -10, -10}, {1380, 1010, -10, -10}},
};

TEST(MoveInside, KeepsTheSizeAndMovesTheLeastNeeded) {
  for (const Case& c : kCases) EXPECT_EQ(MoveInside(c.window, kWork), c.placed) << c.name;
}

TEST(MoveInside, PlacedWindowsStayWhereTheyAre) {
  for (const Case& c : kCases) EXPECT_EQ(MoveInside(c.placed, kWork), c.placed) << c.name;
}

TEST(AreaOf, FarEdgesStopAtTheEndOfInt) {
  const std::pair<TWindowBounds, TScreenArea> cases[] = {
      {{10, 20, 300, 200}, {10, 20, 310, 220}},
      {{-500, -400, 300, 200}, {-500, -400, -200, -200}},
      {{INT_MAX, INT_MAX - 1, 408, 327}, {INT_MAX, INT_MAX - 1, INT_MAX, INT_MAX}},
      {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MIN, INT_MIN, -1, -1}},
      {{5, 6, -10, -20}, {5, 6, 5, 6}},
  };
  for (const auto& [window, area] : cases) {
    const TScreenArea got = AreaOf(window);
    EXPECT_EQ(got, area) << window;
  }
}

}  // namespace
