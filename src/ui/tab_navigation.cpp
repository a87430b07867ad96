#include "ui/tab_navigation.h"

#include <algorithm>
#include <vector>

namespace ui {
namespace {

bool IsShownAndEnabled(HWND window) {
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  return (style & WS_VISIBLE) != 0 && (style & WS_DISABLED) == 0;
}

bool IsStop(HWND window) { return (GetWindowLongPtrW(window, GWL_STYLE) & WS_TABSTOP) != 0; }

bool IsControlParent(HWND window) { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0; }

// Every tab stop inside container, in the order Tab visits them: each child in z-order, and after
// it the stops inside it when it is a container (a control parent, or a stop that holds stops).
// Hidden and disabled windows are passed over with everything inside them.
void CollectStops(HWND container, std::vector<HWND>& stops) {
  for (HWND child = GetWindow(container, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsShownAndEnabled(child)) continue;
    const bool stop = IsStop(child);
    if (stop) stops.push_back(child);
    if (stop || IsControlParent(child)) CollectStops(child, stops);
  }
}

}  // namespace

bool MoveFocusByTab(HWND root, const MSG& key) {
  if (key.message != WM_KEYDOWN || key.wParam != VK_TAB) return false;
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  const bool backward = GetKeyState(VK_SHIFT) < 0;
  const HWND focus = GetFocus();
  if (focus == nullptr || !IsChild(root, focus)) return false;
  MSG asked = key;
  const LRESULT wants = SendMessageW(focus, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&asked));
  if ((wants & (DLGC_WANTTAB | DLGC_WANTALLKEYS)) != 0) return false;

  std::vector<HWND> stops;
  CollectStops(root, stops);
  // The focus may be inside a stop (the edit box of a combo box): the stop counts.
  HWND at = focus;
  auto found = stops.end();
  while (at != nullptr && at != root && (found = std::find(stops.begin(), stops.end(), at)) == stops.end()) {
    at = GetParent(at);
  }
  HWND target = nullptr;
  if (found != stops.end()) {
    const auto count = static_cast<std::ptrdiff_t>(stops.size());
    const std::ptrdiff_t index = found - stops.begin();
    target = stops[static_cast<std::size_t>((index + (backward ? count - 1 : 1)) % count)];
  } else if (!stops.empty()) {
    // From a control that is no stop, Tab goes to the first stop, Shift+Tab to the last.
    target = backward ? stops.back() : stops.front();
  }
  if (target == nullptr || target == focus) return false;
  SetFocus(target);
  // What the dialog manager does after Tab: an edit box's text selected whole, focus cues shown.
  MSG reached = key;
  if ((SendMessageW(target, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&reached)) & DLGC_HASSETSEL) != 0) {
    SendMessageW(target, EM_SETSEL, 0, -1);
  }
  SendMessageW(root, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  return true;
}

}  // namespace ui
