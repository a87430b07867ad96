#pragma once

#include <windows.h>

// The ui layer's own window class (forms, panels, sheets), registered on first use, and the
// two window procedures through which every message of a control's window reaches its object.
namespace ui {

inline constexpr const wchar_t* kOwnWindowClass = L"RuvoWindow";
// The executable's icon resource, which the class gives every window as its large and small icon.
inline constexpr const wchar_t* kProgramIcon = L"MAINICON";
// Registers the class once; later calls do nothing.
void RegisterOwnWindowClass();

struct WindowProcedures {
  // The own class's procedure: `this` arrives with WM_NCCREATE and is kept in GWLP_USERDATA.
  static LRESULT CALLBACK Own(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
  // The procedure that system-class controls are subclassed with; it passes every message to
  // the window's object, whose default calls the class's own procedure.
  static LRESULT CALLBACK System(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;
};

}  // namespace ui
