#include "ui/tab_navigation.h"

namespace ui {
namespace {

bool IsStop(HWND window) {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  return (style & WS_TABSTOP) != 0 && (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0;
}

// The first (or last) tab stop among a window's children, in z-order as the dialog manager
// walks them.
HWND EdgeStopInside(HWND container, bool last) {
  HWND found = nullptr;
  for (HWND child = GetWindow(container, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsStop(child)) continue;
    found = child;
    if (!last) break;
  }
  return found;
}

// The next (or previous) tab stop among a window's siblings, or nullptr.
HWND NeighbourStop(HWND window, bool backward) {
  for (HWND sibling = GetWindow(window, backward ? GW_HWNDPREV : GW_HWNDNEXT); sibling != nullptr;
       sibling = GetWindow(sibling, backward ? GW_HWNDPREV : GW_HWNDNEXT)) {
    if (IsStop(sibling)) return sibling;
  }
  return nullptr;
}

// A tab stop that the dialog manager does not step into but that holds stops of its own.
HWND StopsInsideStop(HWND window, bool last) {
  if (window == nullptr || !IsStop(window)) return nullptr;
  if ((GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0) return nullptr;
  return EdgeStopInside(window, last);
}

}  // namespace

bool MoveFocusByTab(HWND root, const MSG& key) {
  if (key.message != WM_KEYDOWN || key.wParam != VK_TAB) return false;
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  const bool backward = GetKeyState(VK_SHIFT) < 0;
  const HWND focus = GetFocus();
  if (focus == nullptr || !IsChild(root, focus)) return false;

  HWND target = nullptr;
  if (const HWND container = GetParent(focus); container != root && StopsInsideStop(container, false) != nullptr) {
    // Among the container's stops, then out: backwards to the container, onwards past it.
    target = NeighbourStop(focus, backward);
    if (target == nullptr) target = backward ? container : GetNextDlgTabItem(root, container, FALSE);
  } else if (!backward) {
    target = StopsInsideStop(focus, false);
  } else if (const HWND previous = GetNextDlgTabItem(root, focus, TRUE); previous != nullptr) {
    target = StopsInsideStop(previous, true);  // into a container from behind: its last stop
  }
  if (target == nullptr) return false;
  SetFocus(target);
  return true;
}

}  // namespace ui
