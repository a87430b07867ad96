#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace ui {

// What a window's accessible object says of the window itself beyond what the system's object
// for it says; its children (a list's rows, a status bar's panels) keep the system's answers.
struct AccessibleTraits {
  std::wstring name;    // empty: the system's (the window text, or the label before an edit)
  long role = 0;        // ROLE_SYSTEM_*; 0: the system's
  long addedState = 0;  // STATE_SYSTEM_* bits added to the system's

  [[nodiscard]] bool Empty() const { return name.empty() && role == 0 && addedState == 0; }
};

// Asked at every call of the object, so that it follows the window's state; empty traits (the
// window's control is gone) leave the system's answers.
using AccessibleTraitsSource = std::function<AccessibleTraits()>;

// The answer to WM_GETOBJECT for the window's client area, as screen readers and UI Automation
// send it: the window's own accessible object wrapped to report the traits. That object is the
// one its class answers with (classAnswer, what the class's procedure returned; a rich edit has
// one), else the system's for it (oleacc's CreateStdAccessibleObject). oleacc, oleaut32 and
// ole32 are loaded at the first question, so that start-up pays nothing for them; the thread
// joins a single-threaded COM apartment then, which a client in another process needs to reach
// the object. When they cannot be loaded the class's answer stands; when no object can be had,
// 0 lets the client take the system's.
LRESULT AccessibleObjectAnswer(HWND window, WPARAM flags, LRESULT classAnswer, AccessibleTraitsSource traits);

}  // namespace ui
