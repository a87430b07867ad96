#include "calc_support.h"
#include "support/wide_path.h"

#include <commctrl.h>

#include <ostream>

#include "app/calc_form.h"
#include "app/calc_frame.h"
#include "app/main_form.h"
#include "engine/hash_file.h"
#include "ui/application.h"
#include "ui/text.h"
#include "win/handle.h"
#include "win/long_name.h"

namespace calctest {

std::string Zeros(std::size_t count) { return std::string(count, '\0'); }

SlotTap::SlotTap(ui::Control& control, std::function<void(ui::Message&)> before)
    : control_(control), saved_(control.WindowProc()) {
  control_.WindowProc() = [before = std::move(before), next = saved_](ui::Message& message) {
    before(message);
    next(message);
  };
}

SlotTap::~SlotTap() { control_.WindowProc() = saved_; }

std::string SetTextOf(const ui::Message& message) {
  if (message.msg != WM_SETTEXT || message.lParam == 0) return {};
  return ui::Utf8FromWide(reinterpret_cast<const wchar_t*>(message.lParam));
}

std::optional<std::string> PanelTextOf(const ui::Message& message, int panel) {
  if (message.msg != SB_SETTEXTW || static_cast<int>(LOBYTE(LOWORD(message.wParam))) != panel) return std::nullopt;
  return message.lParam == 0 ? std::string() : ui::Utf8FromWide(reinterpret_cast<const wchar_t*>(message.lParam));
}

void PrintTo(const PageView& page, std::ostream* out) {
  *out << "{\"" << page.caption << "\" base \"" << page.baseFolder << "\":";
  for (const std::string& name : page.names) *out << " " << name;
  *out << "}";
}

std::vector<std::string> Names(const TCalcFrame& frame) {
  std::vector<std::string> names;
  for (const auto& entry : frame.Entries) names.push_back(entry.Name);
  return names;
}

std::vector<PageView> Pages() {
  std::vector<PageView> pages;
  for (int i = 0; i < CalcForm->PageCount(); ++i) {
    const TCalcFrame* frame = CalcForm->Frame(i);
    pages.push_back({CalcForm->CalcPageControl.Page(i).Caption(), frame ? frame->BaseFolder() : "?",
                     frame ? Names(*frame) : std::vector<std::string>{}});
  }
  return pages;
}

std::string ReadFileBytes(const std::string& path) {
  const win::KernelHandle file(CreateFileW(W(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return "<missing>";
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  return bytes;
}

bool Exists(const std::string& path) { return GetFileAttributesW(W(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

void PressKeyInCalcForm(WORD virtualKey, bool shift, bool ctrl) {
  CalcForm->BringToFront();
  if (TCalcFrame* frame = CalcForm->ActiveFrame()) frame->ListView.SetFocus();
  apptest::PumpMessages();
  apptest::PressKey(virtualKey, shift, ctrl);
}

void CalcTest::SetUp() {
  apptest::ResetProgramForms();
  root_ = win::LongFileName(temp_.Path());
  MainForm->SoundBaseFolder = root_;  // no "sounds" folder there: every sound is a beep
  MainForm->PlaySoundFile = [](const std::string& path) { ADD_FAILURE() << "no sound file expected: " << path; };
  MainForm->Beep = [this](UINT type) { beeps.push_back(type); };
  savedBoxHook_ = ui::SetMessageBoxHook([this](const ui::MessageBoxRequest& request) {
    boxes.push_back({ui::Utf8FromWide(request.text), ui::Utf8FromWide(request.caption), request.flags});
    return boxAnswer;
  });
  savedDialogHook_ = ui::SetSaveDialogHook([this](ui::SaveDialog& dialog) {
    ++saveDialogs;
    if (!onSaveDialog) {
      ADD_FAILURE() << "unexpected save dialog";
      return false;
    }
    return onSaveDialog(dialog);
  });
}

void CalcTest::TearDown() {
  ui::SetMessageBoxHook(savedBoxHook_);
  ui::SetSaveDialogHook(savedDialogHook_);
  apptest::ResetProgramForms();
}

void CalcTest::Calc(std::vector<std::string> paths) { CalcForm->CalcFiles(paths); }

std::string CalcTest::Put(const std::string& relative, const std::string& bytes) {
  temp_.Write(relative, bytes);
  return root_ + relative;
}

std::string CalcTest::Folder(const std::string& relative) {
  const std::string path = root_ + relative;
  for (std::size_t at = path.find('\\', root_.size()); at != std::string::npos; at = path.find('\\', at + 1)) {
    CreateDirectoryW(W(path.substr(0, at)).c_str(), nullptr);
  }
  CreateDirectoryW(W(path).c_str(), nullptr);
  return path;
}

}  // namespace calctest
