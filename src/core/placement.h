#pragma once

// A window's place on the screen in screen pixels, as the settings file keeps it.
struct TWindowBounds {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const TWindowBounds&) const = default;
};

// An area of the screen; right and bottom lie just outside it.
struct TScreenArea {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const TScreenArea&) const = default;
};

// The area the window covers; edges beyond the int range stop at its end.
[[nodiscard]] TScreenArea AreaOf(const TWindowBounds& window);

// The window moved by as little as needed to lie inside `area`, its size kept. A window wider
// or taller than the area starts at the area's left or top edge; a window inside stays put.
[[nodiscard]] TWindowBounds MoveInside(const TWindowBounds& window, const TScreenArea& area);
