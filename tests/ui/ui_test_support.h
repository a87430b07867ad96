#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "e2e/test_win32.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/form.h"

namespace ui_test {

// Lets the queue run until the condition holds (bounded: input from the X server arrives
// asynchronously under Wine). Returns the condition's last value.
inline bool PumpUntil(const std::function<bool()>& condition, int rounds = 200) {
  for (int i = 0; i < rounds; ++i) {
    ui::App().ProcessMessages();
    if (condition()) return true;
    Sleep(5);
  }
  return condition();
}

inline void Pump(int rounds = 20) {
  for (int i = 0; i < rounds; ++i) {
    ui::App().ProcessMessages();
    Sleep(5);
  }
}

// Message boxes answered by the test instead of a modal dialog; every request is recorded.
class MessageBoxRecorder {
 public:
  explicit MessageBoxRecorder(int answer = IDOK) {
    previous_ = ui::SetMessageBoxHook([this, answer](const ui::MessageBoxRequest& request) {
      requests.push_back(request);
      return answer;
    });
  }
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;
  ~MessageBoxRecorder() { ui::SetMessageBoxHook(std::move(previous_)); }

  std::vector<ui::MessageBoxRequest> requests;

 private:
  ui::MessageBoxHook previous_;
};

// Real key strokes through the system's input queue.
inline void PressKey(WORD key, bool shift = false, bool ctrl = false) { testfiles::SendKeyPress(key, shift, ctrl); }

// A real mouse click at a point of a window's client area.
inline void ClickAt(HWND window, POINT client) {
  POINT screen = client;
  ClientToScreen(window, &screen);
  SetCursorPos(screen.x, screen.y);
  INPUT inputs[2]{};
  inputs[0].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].type = INPUT_MOUSE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
}

inline void ClickCentre(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  ClickAt(window, {client.right / 2, client.bottom / 2});
}

// Shows a form and gives it the foreground, as a user's window would have it.
inline void ShowInFront(ui::Form& form) {
  form.Show();
  form.BringToFront();
  Pump(10);
}

}  // namespace ui_test
