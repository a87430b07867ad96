#include "ui/monitor.h"

#include <windows.h>

namespace ui {

TWindowBounds OnScreen(const TWindowBounds& window) {
  const TScreenArea area = AreaOf(window);
  const RECT rect{area.left, area.top, area.right, area.bottom};
  MONITORINFO info{};
  info.cbSize = sizeof info;
  // Without a monitor to ask there is nothing better to offer than the place as it was.
  if (!GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) return window;
  const RECT& work = info.rcWork;
  return MoveInside(window, {work.left, work.top, work.right, work.bottom});
}

}  // namespace ui
