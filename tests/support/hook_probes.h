#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/panel.h"

// A panel and a form that answer one private message themselves, recording what reached their
// own handling, so a test can tell whether a message passed through a hook once and unchanged.
namespace hooktest {

constexpr UINT kProbe = WM_APP + 0x51;
constexpr LRESULT kProbeAnswer = 42;

struct ProbeLog {
  std::vector<std::pair<WPARAM, LPARAM>> probes;
  int dropMessages = 0;  // WM_DROPFILES that reached the control's own handling

  bool Record(ui::Message& message) {
    if (message.msg == WM_DROPFILES) ++dropMessages;
    if (message.msg != kProbe) return false;
    probes.emplace_back(message.wParam, message.lParam);
    message.result = kProbeAnswer;
    return true;
  }
};

// A control of the ui layer whose own handling records what reaches it.
template <typename Base>
class Probe : public Base {
 public:
  using Base::Base;
  ProbeLog log;

 protected:
  bool HandleMessage(ui::Message& message) override { return log.Record(message) || Base::HandleMessage(message); }
};
using ProbePanel = Probe<ui::Panel>;
using ProbeForm = Probe<ui::Form>;

// Answers every message box with IDOK and keeps what it would have shown, until destroyed.
class MessageBoxRecorder {
 public:
  MessageBoxRecorder()
      : previous_(ui::SetMessageBoxHook([this](const ui::MessageBoxRequest& request) {
          boxes.push_back(request);
          return IDOK;
        })) {}
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;
  ~MessageBoxRecorder() { ui::SetMessageBoxHook(previous_); }

  std::vector<ui::MessageBoxRequest> boxes;

 private:
  ui::MessageBoxHook previous_;
};

inline bool AcceptsFiles(HWND window) { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; }

inline LRESULT SendProbe(HWND window, WPARAM wParam = 7, LPARAM lParam = 9) {
  return SendMessageW(window, kProbe, wParam, lParam);
}

}  // namespace hooktest
