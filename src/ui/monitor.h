#pragma once

#include "core/placement.h"

namespace ui {

// The window moved, its size kept, into the work area (the screen less the taskbar) of the
// monitor that holds most of it, or of the nearest one when it is on none; so a position saved
// on a monitor that is gone, or typed by hand, never opens a window out of sight.
[[nodiscard]] TWindowBounds OnScreen(const TWindowBounds& window);

}  // namespace ui
