#include "ui/window_class.h"

#include <commctrl.h>

#include "ui/control.h"

namespace ui {

void RegisterOwnWindowClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProcedures::Own;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    // Both sizes from the icon's own images (the small one drawn for its size, not shrunk), at
    // the sizes the system uses for captions, the taskbar and Alt+Tab.
    const auto icon = [&](int width, int height) {
      return static_cast<HICON>(LoadImageW(windowClass.hInstance, kProgramIcon, IMAGE_ICON, GetSystemMetrics(width),
                                           GetSystemMetrics(height), LR_SHARED));
    };
    windowClass.hIcon = icon(SM_CXICON, SM_CYICON);
    windowClass.hIconSm = icon(SM_CXSMICON, SM_CYSMICON);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kOwnWindowClass;
    return RegisterClassExW(&windowClass) != 0;
  }();
  (void)registered;  // a failure shows when the first window cannot be made
}

LRESULT CALLBACK WindowProcedures::Own(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* control = static_cast<Control*>(create->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    control->Attach(window);
  }
  auto* control = reinterpret_cast<Control*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  // Messages before WM_NCCREATE (WM_GETMINMAXINFO) have no object yet.
  if (control == nullptr) return DefWindowProcW(window, msg, wParam, lParam);
  Message message{msg, wParam, lParam, 0};
  control->Dispatch(message);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    control->Detach();
  }
  return message.result;
}

LRESULT CALLBACK WindowProcedures::System(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
  Control* control = Control::FromHandle(window);
  if (control == nullptr || control->systemProc_ == nullptr) return DefWindowProcW(window, msg, wParam, lParam);
  Message message{msg, wParam, lParam, 0};
  control->Dispatch(message);
  if (msg == WM_NCDESTROY) {
    // The window's own procedure back in place for whatever follows its destruction.
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control->systemProc_));
    control->Detach();
  }
  return message.result;
}

}  // namespace ui
