#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/progress.h"
#include "ui/text.h"

namespace ui {

class Form;

// The program's one application object: its title, its main form and its message loop.
// The message loop (Run and ProcessMessages alike) offers every key press to the popup menus
// of the focused window and its parents first (see PopupMenu), then to dialog navigation of
// the active form, then translates and dispatches it.
class Application final : public MessagePump {
 public:
  Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;
  ~Application();

  void SetTitle(TextArg title);
  [[nodiscard]] std::string Title() const;  // UTF-8
  [[nodiscard]] const std::wstring& WideTitle() const { return title_; }

  // The form whose closing ends the message loop. CreateForm sets it to the first form made.
  [[nodiscard]] Form* MainForm() const { return mainForm_; }
  void SetMainForm(Form* form) { mainForm_ = form; }
  // Whether Run shows the main form when the loop starts (default on).
  [[nodiscard]] bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool show) { showMainForm_ = show; }

  // Builds a form owned by the application (destroyed by DestroyForms or at exit, last made
  // first), runs its OnCreate (Form::DoCreate), and makes the first one the main form.
  template <typename T, typename... Args>
  T& CreateForm(Args&&... args);
  void DestroyForms();

  // The message loop; returns once Terminate was called (at once when that was before Run).
  void Run();
  // Lets every queued message run, then returns. A terminate request met here (also WM_QUIT)
  // is remembered; the running loop ends when control is back in Run.
  void ProcessMessages() override;
  // Answers the messages that other threads and programs sent and wait for; takes nothing from
  // the queue (no input, no paint), so no command of the user's starts here.
  void AnswerSentMessages();
  void Terminate() { terminated_ = true; }
  [[nodiscard]] bool Terminated() const { return terminated_; }
  // Clears a terminate request (for tests that run several loops in one process).
  void ResetTerminated() { terminated_ = false; }

  // The standard report of an error: OnException when set, else the error box
  // (MB_ICONERROR | MB_OK, caption the title, text the error's message). Never throws.
  // An std::exception's what() is taken as UTF-8 text.
  void HandleException(std::exception_ptr error) noexcept;
  void HandleException(const std::exception& error) noexcept;
  void ShowException(TextArg message) noexcept;
  std::function<void(std::exception_ptr)> OnException;

  // One message, as the loop handles it (shortcuts, dialog keys, dispatch).
  void HandleLoopMessage(MSG& message) noexcept;

 private:
  void AdoptForm(std::unique_ptr<Form> form);
  bool IsDialogKey(MSG& message);

  std::wstring title_;
  Form* mainForm_ = nullptr;
  bool showMainForm_ = true;
  bool terminated_ = false;
  std::vector<std::unique_ptr<Form>> forms_;
};

// The application object.
Application& App();

}  // namespace ui

#include "ui/form.h"

template <typename T, typename... Args>
T& ui::Application::CreateForm(Args&&... args) {
  auto form = std::make_unique<T>(std::forward<Args>(args)...);
  T& ref = *form;
  AdoptForm(std::unique_ptr<Form>(std::move(form)));
  ref.DoCreate();
  return ref;
}
