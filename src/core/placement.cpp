#include "core/placement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// Settings files hold any int: sums are taken in 64 bits.
int Saturated(std::int64_t value) {
  return static_cast<int>(
      std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

// The start of a stretch of `length` moved into [areaStart, areaEnd); the area's start wins
// when it does not fit. The result lies between areaStart and start, so it is an int again.
int PlaceOnAxis(int start, int length, int areaStart, int areaEnd) {
  const std::int64_t size = std::max(length, 0);
  std::int64_t placed = start;
  if (placed + size > areaEnd) placed = areaEnd - size;
  return static_cast<int>(std::max<std::int64_t>(placed, areaStart));
}

}  // namespace

TScreenArea AreaOf(const TWindowBounds& window) {
  return {window.left, window.top, Saturated(std::int64_t{window.left} + std::max(window.width, 0)),
          Saturated(std::int64_t{window.top} + std::max(window.height, 0))};
}

TWindowBounds MoveInside(const TWindowBounds& window, const TScreenArea& area) {
  return {PlaceOnAxis(window.left, window.width, area.left, area.right),
          PlaceOnAxis(window.top, window.height, area.top, area.bottom), window.width, window.height};
}
