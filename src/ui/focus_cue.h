#pragma once

#include <windows.h>

namespace ui {

// False while the window's UI state hides focus cues (UISF_HIDEFOCUS): Windows may hide them
// until the keyboard is first used in the window, as the user's settings ask.
[[nodiscard]] bool FocusCuesShown(HWND window);

// The dotted focus rectangle on area, for a control that draws itself and has the keyboard
// focus; nothing while the window hides focus cues.
void DrawFocusCue(HDC dc, HWND window, const RECT& area);

}  // namespace ui
