#include "ui/dialogs.h"

#include <cderr.h>
#include <commdlg.h>
#include <objbase.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "ui/com_ptr.h"
#include "win/late_bound.h"

namespace ui {
namespace {

// The hooks a test installs; the program itself never sets them.
struct DialogHooks {
  MessageBoxHook messageBox;
  SaveDialogHook saveDialog;
  OpenDialogHook openDialog;
  FolderDialogHook folderDialog;
};

DialogHooks& Hooks() {
  static DialogHooks hooks;
  return hooks;
}

// comdlg32 and ole32 load with the first dialog: most runs never show one.
constexpr const wchar_t* kDialogs = L"comdlg32.dll";
constexpr const wchar_t* kOle = L"ole32.dll";

// What both file dialogs fill in alike. The texts and the name buffer must outlive the dialog.
OPENFILENAMEW FileDialogFields(const std::wstring& filter, const std::wstring& initialDir, const std::wstring& title,
                               std::vector<wchar_t>& name) {
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetActiveWindow();
  dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = name.data();
  dialog.nMaxFile = static_cast<DWORD>(name.size());
  dialog.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
  dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
  return dialog;
}

// An open dialog's answer holds the folder once and every chosen name: room for a thousand long
// names at first, and at most this much when the user chose more.
constexpr std::size_t kOpenAnswerLength = std::size_t{1} << 18;
constexpr std::size_t kMostOpenAnswerLength = std::size_t{1} << 24;

// The file dialog that picks folders is a COM object; it lives for one dialog.
constexpr CLSID kFileOpenDialog = {0xDC1C5A9C, 0xE88A, 0x4DDE, {0xA5, 0xA1, 0x60, 0xF8, 0x2A, 0x20, 0xAE, 0xF7}};

struct CoTaskFree {
  void operator()(wchar_t* text) const {
    static auto* const free = win::LateBound<decltype(CoTaskMemFree)>(kOle, "CoTaskMemFree");
    if (free != nullptr) free(text);
  }
};

// COM on the window's thread for the time of one dialog, in the single-threaded apartment that
// shell dialogs need. A thread that has COM already keeps it as it is.
class ComApartment {
 public:
  ComApartment() {
    static auto* const initialize = win::LateBound<decltype(CoInitializeEx)>(kOle, "CoInitializeEx");
    initialized_ =
        initialize != nullptr && SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    static auto* const uninitialize = win::LateBound<decltype(CoUninitialize)>(kOle, "CoUninitialize");
    if (initialized_ && uninitialize != nullptr) uninitialize();
  }

 private:
  bool initialized_ = false;
};

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
  const std::wstring filter = filter_.empty() ? std::wstring() : DialogFilter(filter_);
  const std::wstring initialDir = WideFromUtf8(initialDir_);
  const std::wstring defaultExt = WideFromUtf8(defaultExt_);
  std::vector<wchar_t> name(32768, L'\0');
  const std::wstring current = WideFromUtf8(fileName_);
  current.copy(name.data(), std::min(current.size(), name.size() - 1));

  OPENFILENAMEW dialog = FileDialogFields(filter, initialDir, title_, name);
  dialog.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
  dialog.Flags = options_ | OFN_EXPLORER;
  static auto* const getSaveFileName = win::LateBound<decltype(GetSaveFileNameW)>(kDialogs, "GetSaveFileNameW");
  if (getSaveFileName == nullptr || !getSaveFileName(&dialog)) return false;
  fileName_ = Utf8FromWide(name.data());
  return true;
}

OpenDialogHook SetOpenDialogHook(OpenDialogHook hook) { return std::exchange(Hooks().openDialog, std::move(hook)); }

std::vector<std::string> OpenDialogPaths(std::wstring_view answer) {
  std::vector<std::wstring_view> names;
  while (!answer.empty()) {
    const std::size_t end = answer.find(L'\0');
    const std::wstring_view name = answer.substr(0, end);
    if (name.empty()) break;
    names.push_back(name);
    if (end == std::wstring_view::npos) break;
    answer.remove_prefix(end + 1);
  }
  if (names.size() < 2) return names.empty() ? std::vector<std::string>{} : std::vector{Utf8FromWide(names[0])};
  std::wstring folder(names[0]);
  if (folder.back() != L'\\') folder += L'\\';  // a drive's root has its backslash already
  std::vector<std::string> paths;
  paths.reserve(names.size() - 1);
  for (std::size_t i = 1; i < names.size(); ++i) paths.push_back(Utf8FromWide(folder + std::wstring(names[i])));
  return paths;
}

bool OpenDialog::Execute() {
  if (Hooks().openDialog) return Hooks().openDialog(*this);
  static auto* const getOpenFileName = win::LateBound<decltype(GetOpenFileNameW)>(kDialogs, "GetOpenFileNameW");
  static auto* const lastError = win::LateBound<decltype(CommDlgExtendedError)>(kDialogs, "CommDlgExtendedError");
  if (getOpenFileName == nullptr) return false;
  const std::wstring filter = filter_.empty() ? std::wstring() : DialogFilter(filter_);
  const std::wstring initialDir = WideFromUtf8(initialDir_);
  for (std::size_t length = kOpenAnswerLength;;) {
    std::vector<wchar_t> answer(length, L'\0');
    OPENFILENAMEW dialog = FileDialogFields(filter, initialDir, title_, answer);
    dialog.Flags =
        OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (getOpenFileName(&dialog)) {
      files_ = OpenDialogPaths({answer.data(), answer.size()});
      return !files_.empty();
    }
    if (lastError == nullptr || lastError() != FNERR_BUFFERTOOSMALL || length >= kMostOpenAnswerLength) return false;
    // The choice did not fit and is lost; the dialog comes again with room for it. The length
    // it needs is in the first 16 bits, cut off beyond them: at least four times as much then.
    const std::size_t needed = static_cast<std::uint16_t>(answer[0]);
    length = std::min(std::max(needed + 1, length * 4), kMostOpenAnswerLength);
  }
}

FolderDialogHook SetFolderDialogHook(FolderDialogHook hook) {
  return std::exchange(Hooks().folderDialog, std::move(hook));
}

bool FolderDialog::Execute() {
  if (Hooks().folderDialog) return Hooks().folderDialog(*this);
  static auto* const create = win::LateBound<decltype(CoCreateInstance)>(kOle, "CoCreateInstance");
  if (create == nullptr) return false;
  const ComApartment apartment;
  IFileOpenDialog* made = nullptr;
  if (FAILED(create(kFileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IFileOpenDialog),
                    reinterpret_cast<void**>(&made)))) {
    return false;
  }
  const ComPtr<IFileOpenDialog> dialog(made);
  FILEOPENDIALOGOPTIONS options = 0;
  if (FAILED(dialog->GetOptions(&options)) ||
      FAILED(
          dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST | FOS_NOCHANGEDIR))) {
    return false;
  }
  // Without its title the dialog still does its job.
  if (!title_.empty()) (void)dialog->SetTitle(title_.c_str());
  if (FAILED(dialog->Show(GetActiveWindow()))) return false;  // cancelled, too
  IShellItem* result = nullptr;
  if (FAILED(dialog->GetResult(&result))) return false;
  const ComPtr<IShellItem> item(result);
  wchar_t* path = nullptr;
  if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path))) return false;
  const std::unique_ptr<wchar_t, CoTaskFree> owned(path);
  folder_ = Utf8FromWide(path);
  return true;
}

}  // namespace ui
