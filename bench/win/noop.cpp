// Does nothing but what a whole-process run pays around its work, timed beside the benchmarks and
// taken off them: Wine's start-up and, with the argument "window", the showing and hiding of one
// window (without a window manager, as under Xvfb, Wine waits for a hidden window's withdrawal).
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "window") != 0) return 0;
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"noop", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
  if (window == nullptr) return 1;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  ShowWindow(window, SW_HIDE);
  DestroyWindow(window);
  return 0;
}
