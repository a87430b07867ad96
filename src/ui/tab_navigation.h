#pragma once

#include <windows.h>

namespace ui {

// Tab and Shift+Tab over every tab stop of a window, where the dialog manager falls short: a
// control that is a tab stop itself and also holds tab stops (a panel that opens a chooser and
// holds the hash buttons, a tab control and the controls of its page). The dialog manager either
// steps into such a container and never stops on it, or stops on it and never reaches its
// children; here the container comes first, then the stops inside it, in z-order, and the cycle
// wraps around; Shift+Tab runs it backwards. Returns true when it moved the focus; false leaves
// the key to the dialog manager (a control that wants Tab itself, or a focus outside root).
bool MoveFocusByTab(HWND root, const MSG& key);

}  // namespace ui
