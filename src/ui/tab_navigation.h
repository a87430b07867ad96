#pragma once

#include <windows.h>

namespace ui {

// Tab and Shift+Tab where the dialog manager falls short: a control that is a tab stop itself
// and also holds tab stops (a panel that opens a chooser and holds the hash buttons). The
// dialog manager either steps into a container and never stops on it, or stops on it and never
// reaches its children; here Tab goes from the container to its first stop inside, and
// Shift+Tab runs the same cycle backwards. Returns true when it moved the focus; false leaves
// the key to the dialog manager.
bool MoveFocusByTab(HWND root, const MSG& key);

}  // namespace ui
