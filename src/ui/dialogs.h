#pragma once

#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <string>

#include "ui/text.h"

namespace ui {

// What a message box would show; handed to a test's hook instead of the real dialog.
struct MessageBoxRequest {
  std::wstring text{};
  std::wstring caption{};
  UINT flags = 0;
};
using MessageBoxHook = std::function<int(const MessageBoxRequest&)>;

// A modal message box owned by the active window; returns IDOK, IDCANCEL, ... When a hook
// is installed (SetMessageBoxHook) it answers instead and no dialog appears. (windows.h
// renames it ui::MessageBoxW in every file alike; call it as ui::MessageBox.)
int MessageBox(TextArg text, TextArg caption, UINT flags);
// Installs (or, with an empty function, removes) the hook; returns the previous one.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

class SaveDialog;
// Answers a SaveDialog::Execute instead of the real dialog: may set FileName; returns what
// Execute returns.
using SaveDialogHook = std::function<bool(SaveDialog&)>;
SaveDialogHook SetSaveDialogHook(SaveDialogHook hook);

// The system save-file dialog. Data texts (folder, names, extension) are UTF-8.
class SaveDialog {
 public:
  // Pipe-separated pairs of description and pattern: "crcファイル(*.crc)|*.crc".
  void SetFilter(TextArg filter) { filter_ = std::move(filter).Value(); }
  [[nodiscard]] const std::wstring& Filter() const { return filter_; }
  void SetInitialDir(std::string folder) { initialDir_ = std::move(folder); }
  [[nodiscard]] const std::string& InitialDir() const { return initialDir_; }
  void SetFileName(std::string name) { fileName_ = std::move(name); }
  [[nodiscard]] const std::string& FileName() const { return fileName_; }
  // Without the dot; added to a typed name that has no extension.
  void SetDefaultExt(std::string ext) { defaultExt_ = std::move(ext); }
  [[nodiscard]] const std::string& DefaultExt() const { return defaultExt_; }
  void SetTitle(TextArg title) { title_ = std::move(title).Value(); }
  // OFN_* flags; OFN_EXPLORER is always added.
  void SetOptions(DWORD options) { options_ = options; }
  [[nodiscard]] DWORD Options() const { return options_; }

  // Runs the dialog (owned by the active window). True when the user chose a file; FileName
  // is then its full path.
  bool Execute();

 private:
  std::wstring filter_;
  std::wstring title_;
  std::string initialDir_;
  std::string fileName_;
  std::string defaultExt_;
  DWORD options_ = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLESIZING;
};

// The filter in the dialog's form: pairs separated by zeros, ending in two zeros.
[[nodiscard]] std::wstring DialogFilter(std::wstring_view pipeSeparated);

}  // namespace ui
