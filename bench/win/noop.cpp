// Does nothing but what every whole-process run pays before and after its work: Wine's start-up
// and the showing and hiding of one window (without a window manager, as under Xvfb, Wine waits
// for a hidden window's withdrawal). Timed beside the whole-process benchmarks and taken off them.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"noop", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  ShowWindow(window, SW_HIDE);
  DestroyWindow(window);
  return 0;
}
