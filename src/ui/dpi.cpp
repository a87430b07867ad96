#include "ui/dpi.h"

#include "win/late_bound.h"

namespace ui {
namespace {

// Looked up once: Windows 10 before 1607, and some Wine versions, lack these.
template <typename Function>
Function* User32Function(const char* name) {
  return win::LateBound<Function>(L"user32.dll", name);
}

}  // namespace

int ScreenDpi() {
  static const int dpi = [] {
    static auto* const forSystem = User32Function<decltype(GetDpiForSystem)>("GetDpiForSystem");
    if (forSystem != nullptr) return static_cast<int>(forSystem());
    const HDC screen = GetDC(nullptr);
    const int pixels = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return pixels > 0 ? pixels : kDesignDpi;
  }();
  return dpi;
}

int WindowDpi(HWND window) {
  static auto* const forWindow = User32Function<decltype(GetDpiForWindow)>("GetDpiForWindow");
  const int dpi = forWindow != nullptr && window != nullptr ? static_cast<int>(forWindow(window)) : 0;
  return dpi > 0 ? dpi : ScreenDpi();
}

void AdjustWindowRectForDpi(RECT& bounds, DWORD style, DWORD exStyle, int dpi) {
  static auto* const forDpi = User32Function<decltype(AdjustWindowRectExForDpi)>("AdjustWindowRectExForDpi");
  if (forDpi != nullptr && forDpi(&bounds, style, FALSE, exStyle, static_cast<UINT>(dpi))) return;
  AdjustWindowRectEx(&bounds, style, FALSE, exStyle);
}

}  // namespace ui
