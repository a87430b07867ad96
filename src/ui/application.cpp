#include "ui/application.h"

#include "ui/control.h"
#include "ui/dialogs.h"
#include "ui/form.h"
#include "ui/popup_menu.h"
#include "ui/tab_navigation.h"

namespace ui {

Application& App() {
  static Application application;
  return application;
}

Application::Application() : title_(L"") {}

Application::~Application() { DestroyForms(); }

void Application::SetTitle(TextArg title) { title_ = std::move(title).Value(); }

std::string Application::Title() const { return Utf8FromWide(title_); }

void Application::AdoptForm(std::unique_ptr<Form> form) {
  if (mainForm_ == nullptr) mainForm_ = form.get();
  forms_.push_back(std::move(form));
}

void Application::DestroyForms() {
  while (!forms_.empty()) {
    std::unique_ptr<Form> last = std::move(forms_.back());
    forms_.pop_back();
    if (mainForm_ == last.get()) mainForm_ = nullptr;
    last.reset();
  }
}

void Application::Run() {
  if (terminated_) return;
  if (showMainForm_ && mainForm_ != nullptr) mainForm_->Show();
  MSG message{};
  while (!terminated_) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {  // WM_QUIT
      terminated_ = true;
      break;
    }
    if (got == -1) break;  // no window state left to wait on
    HandleLoopMessage(message);
  }
}

void Application::ProcessMessages() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      terminated_ = true;
      break;
    }
    HandleLoopMessage(message);
  }
}

void Application::AnswerSentMessages() {
  MSG message{};
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
}

namespace {

// The popup menus of the window that has the key and of its parents up to the top-level one.
bool DispatchMenuShortcut(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return false;
  const Shortcut shortcut = ShortcutFromKey(static_cast<UINT>(message.wParam));
  for (HWND window = message.hwnd; window != nullptr;) {
    if (Control* control = Control::FromHandle(window); control != nullptr) {
      if (PopupMenu* menu = control->GetPopupMenu(); menu != nullptr && menu->DispatchShortcut(shortcut)) return true;
    }
    if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) == 0) break;
    window = GetParent(window);
  }
  return false;
}

}  // namespace

bool Application::IsDialogKey(MSG& message) {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
  HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (root == nullptr || dynamic_cast<Form*>(Control::FromHandle(root)) == nullptr) return false;
  return MoveFocusByTab(root, message) || IsDialogMessageW(root, &message) != FALSE;
}

void Application::HandleLoopMessage(MSG& message) noexcept {
  try {
    if (DispatchMenuShortcut(message)) return;
    if (IsDialogKey(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  } catch (...) {
    HandleException(std::current_exception());
  }
}

void Application::HandleException(std::exception_ptr error) noexcept {
  try {
    if (OnException) {
      OnException(error);
      return;
    }
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& exception) {
      ShowException(std::string_view(exception.what()));
    } catch (...) {
      ShowException(L"Unknown exception");
    }
  } catch (...) {
    // The report itself failed (out of memory, a throwing hook): nothing left to tell.
  }
}

void Application::HandleException(const std::exception& error) noexcept {
  try {
    if (OnException) {
      OnException(std::make_exception_ptr(std::runtime_error(error.what())));
      return;
    }
    ShowException(std::string_view(error.what()));
  } catch (...) {
    // As above.
  }
}

void Application::ShowException(TextArg message) noexcept {
  try {
    ui::MessageBox(std::move(message), title_, MB_ICONERROR | MB_OK);
  } catch (...) {
    // As above.
  }
}

}  // namespace ui
