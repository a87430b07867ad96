#pragma once

#include <windows.h>

// Display scale. Every control is designed at 96 DPI: the arguments of controls and forms
// (positions, sizes, fonts) are in pixels of a 96-DPI screen, and each window scales them to the
// DPI of the monitor it is on. Windows answers in pixels of that monitor.
namespace ui {

inline constexpr int kDesignDpi = 96;

// A length designed at 96 DPI, at dpi; and back.
[[nodiscard]] inline int ScaleToDpi(int designed, int dpi) { return MulDiv(designed, dpi, kDesignDpi); }
[[nodiscard]] inline int ScaleToDesign(int pixels, int dpi) { return MulDiv(pixels, kDesignDpi, dpi); }

// The DPI of the screen as the process started with it: the primary monitor's.
[[nodiscard]] int ScreenDpi();
// The DPI of the monitor a window is on (GetDpiForWindow); the screen's where the system does not
// tell one window's.
[[nodiscard]] int WindowDpi(HWND window);
// AdjustWindowRectEx with the frame of the given DPI (AdjustWindowRectExForDpi where there is one).
void AdjustWindowRectForDpi(RECT& bounds, DWORD style, DWORD exStyle, int dpi);

}  // namespace ui
