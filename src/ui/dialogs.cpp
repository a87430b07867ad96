#include "ui/dialogs.h"

#include <commdlg.h>

#include <utility>
#include <vector>

#include "win/late_bound.h"

namespace ui {
namespace {

// The hooks a test installs; the program itself never sets them.
struct DialogHooks {
  MessageBoxHook messageBox;
  SaveDialogHook saveDialog;
};

DialogHooks& Hooks() {
  static DialogHooks hooks;
  return hooks;
}

}  // namespace

int MessageBox(TextArg text, TextArg caption, UINT flags) {
  if (Hooks().messageBox) return Hooks().messageBox({std::move(text).Value(), std::move(caption).Value(), flags});
  return ::MessageBoxW(GetActiveWindow(), text.Value().c_str(), caption.Value().c_str(), flags);
}

MessageBoxHook SetMessageBoxHook(MessageBoxHook hook) { return std::exchange(Hooks().messageBox, std::move(hook)); }

SaveDialogHook SetSaveDialogHook(SaveDialogHook hook) { return std::exchange(Hooks().saveDialog, std::move(hook)); }

std::wstring DialogFilter(std::wstring_view pipeSeparated) {
  std::wstring filter(pipeSeparated);
  for (wchar_t& c : filter) {
    if (c == L'|') c = L'\0';
  }
  filter.push_back(L'\0');
  filter.push_back(L'\0');
  return filter;
}

bool SaveDialog::Execute() {
  if (Hooks().saveDialog) return Hooks().saveDialog(*this);
  const std::wstring filter = DialogFilter(filter_);
  const std::wstring initialDir = WideFromUtf8(initialDir_);
  const std::wstring defaultExt = WideFromUtf8(defaultExt_);
  std::vector<wchar_t> name(32768, L'\0');
  const std::wstring current = WideFromUtf8(fileName_);
  current.copy(name.data(), std::min(current.size(), name.size() - 1));

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetActiveWindow();
  dialog.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = name.data();
  dialog.nMaxFile = static_cast<DWORD>(name.size());
  dialog.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
  dialog.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
  dialog.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
  dialog.Flags = options_ | OFN_EXPLORER;
  // comdlg32 loads with the first dialog: most runs never show one.
  static auto* const getSaveFileName = win::LateBound<decltype(GetSaveFileNameW)>(L"comdlg32.dll", "GetSaveFileNameW");
  if (getSaveFileName == nullptr || !getSaveFileName(&dialog)) return false;
  fileName_ = Utf8FromWide(name.data());
  return true;
}

}  // namespace ui
