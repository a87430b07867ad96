#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace ui {

// What a window's accessible object says of the window itself beyond what the system's object
// for it says; its children (a list's rows, a status bar's parts) keep the system's answers.
struct AccessibleTraits {
  std::wstring name;    // empty: the system's (the window text, or the label before an edit)
  long role = 0;        // ROLE_SYSTEM_*; 0: the system's
  long addedState = 0;  // STATE_SYSTEM_* bits added to the system's

  [[nodiscard]] bool Empty() const { return name.empty() && role == 0 && addedState == 0; }
};

// Asked at every call of the object, so that it follows the window's state; empty traits (the
// window's control is gone) leave the system's answers.
using AccessibleTraitsSource = std::function<AccessibleTraits()>;

// Answers WM_GETOBJECT for the window's client area, as screen readers and UI Automation send
// it, with the system's accessible object (oleacc's CreateStdAccessibleObject) wrapped to report
// the traits. oleacc, oleaut32 and ole32 are loaded at the first question, so that start-up
// pays nothing for them; the thread joins a single-threaded COM apartment then, which a client
// in another process needs to reach the object. False when they cannot be loaded or the object
// cannot be made: the default window procedure answers then.
bool AnswerAccessibleObject(HWND window, WPARAM flags, AccessibleTraitsSource traits, LRESULT& result);

}  // namespace ui
