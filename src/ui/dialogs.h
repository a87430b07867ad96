#pragma once

#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

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

// What the file dialogs share. Data texts (folder, names) are UTF-8.
class FileDialog {
 public:
  // Pipe-separated pairs of description and pattern: "crcファイル(*.crc)|*.crc".
  void SetFilter(TextArg filter) { filter_ = std::move(filter).Value(); }
  [[nodiscard]] const std::wstring& Filter() const { return filter_; }
  void SetInitialDir(std::string folder) { initialDir_ = std::move(folder); }
  [[nodiscard]] const std::string& InitialDir() const { return initialDir_; }
  void SetTitle(TextArg title) { title_ = std::move(title).Value(); }
  [[nodiscard]] const std::wstring& Title() const { return title_; }

 protected:
  std::wstring filter_;
  std::wstring title_;
  std::string initialDir_;
};

class SaveDialog;
// Answers a SaveDialog::Execute instead of the real dialog: may set FileName; returns what
// Execute returns.
using SaveDialogHook = std::function<bool(SaveDialog&)>;
SaveDialogHook SetSaveDialogHook(SaveDialogHook hook);

// The system save-file dialog.
class SaveDialog : public FileDialog {
 public:
  void SetFileName(std::string name) { fileName_ = std::move(name); }
  [[nodiscard]] const std::string& FileName() const { return fileName_; }
  // Without the dot; added to a typed name that has no extension.
  void SetDefaultExt(std::string ext) { defaultExt_ = std::move(ext); }
  [[nodiscard]] const std::string& DefaultExt() const { return defaultExt_; }
  // OFN_* flags; OFN_EXPLORER is always added.
  void SetOptions(DWORD options) { options_ = options; }
  [[nodiscard]] DWORD Options() const { return options_; }

  // Runs the dialog (owned by the active window). True when the user chose a file; FileName
  // is then its full path.
  bool Execute();

 private:
  std::string fileName_;
  std::string defaultExt_;
  DWORD options_ = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLESIZING;
};

class OpenDialog;
// Answers an OpenDialog::Execute instead of the real dialog: may set Files; returns what
// Execute returns.
using OpenDialogHook = std::function<bool(OpenDialog&)>;
OpenDialogHook SetOpenDialogHook(OpenDialogHook hook);

// The system open-file dialog, several files at once.
class OpenDialog : public FileDialog {
 public:
  void SetFiles(std::vector<std::string> files) { files_ = std::move(files); }
  // The chosen files' full paths, in the dialog's order.
  [[nodiscard]] const std::vector<std::string>& Files() const { return files_; }

  // Runs the dialog (owned by the active window). True when the user chose files.
  bool Execute();

 private:
  std::vector<std::string> files_;
};

class FolderDialog;
// Answers a FolderDialog::Execute instead of the real dialog: may set Folder; returns what
// Execute returns.
using FolderDialogHook = std::function<bool(FolderDialog&)>;
FolderDialogHook SetFolderDialogHook(FolderDialogHook hook);

// The system folder chooser (the open dialog that picks folders).
class FolderDialog {
 public:
  void SetTitle(TextArg title) { title_ = std::move(title).Value(); }
  [[nodiscard]] const std::wstring& Title() const { return title_; }
  void SetFolder(std::string folder) { folder_ = std::move(folder); }
  // The chosen folder's full path (UTF-8).
  [[nodiscard]] const std::string& Folder() const { return folder_; }

  // Runs the dialog (owned by the active window). True when the user chose a folder.
  bool Execute();

 private:
  std::wstring title_;
  std::string folder_;
};

// The paths in an open dialog's answer for several files: up to the first empty text, either
// one full path, or the folder followed by the names in it.
[[nodiscard]] std::vector<std::string> OpenDialogPaths(std::wstring_view answer);

// The filter in the dialog's form: pairs separated by zeros, ending in two zeros.
[[nodiscard]] std::wstring DialogFilter(std::wstring_view pipeSeparated);

}  // namespace ui
