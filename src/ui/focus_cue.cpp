#include "ui/focus_cue.h"

namespace ui {

bool FocusCuesShown(HWND window) { return (SendMessageW(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0; }

void DrawFocusCue(HDC dc, HWND window, const RECT& area) {
  if (!FocusCuesShown(window)) return;
  // The dots invert what lies below through a two-colour pattern, whose colours are the DC's
  // text and background colours: black and white invert every other pixel, on any face.
  const COLORREF text = SetTextColor(dc, RGB(0, 0, 0));
  const COLORREF background = SetBkColor(dc, RGB(255, 255, 255));
  DrawFocusRect(dc, &area);
  SetTextColor(dc, text);
  SetBkColor(dc, background);
}

}  // namespace ui
