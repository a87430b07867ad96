#pragma once

#include <windows.h>

#include <string>

struct IAccessible;

// A window's client object as a screen reader gets it: AccessibleObjectFromWindow, which sends
// WM_GETOBJECT and falls back to the system's own object. oleacc is loaded late, as the program
// does; the test thread joins a COM apartment, as a reader's does.
class AccessibleClient {
 public:
  explicit AccessibleClient(HWND window);
  ~AccessibleClient();
  AccessibleClient(const AccessibleClient&) = delete;
  AccessibleClient& operator=(const AccessibleClient&) = delete;

  [[nodiscard]] bool Found() const { return object_ != nullptr; }
  // The object itself (CHILDID_SELF); an empty name, role 0 and state 0 when it gives none.
  [[nodiscard]] std::wstring Name() const;
  [[nodiscard]] long Role() const;
  [[nodiscard]] long State() const;

 private:
  IAccessible* object_ = nullptr;
};
