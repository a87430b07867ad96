// The settings file: read once before the command line is handled, written once after the
// message loop, whole and in a fixed order.
#include "app/main.h"

#include <cstdint>
#include <string_view>

#include "app/ansi.h"
#include "app/calc.h"
#include "app/calcview.h"
#include "app/compare.h"
#include "core/ini.h"
#include "core/path.h"
#include "ui/handles.h"

namespace {

// Tab widths travel as 16-bit values to the tab controls; others cannot be applied.
constexpr int kMaxTabWidth = 32767;

// The whole file, or nothing when it is missing or cannot be read: a settings file that is not
// there means built-in defaults.
std::string ReadWholeFile(const std::string& path) {
  UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 64 * 1024 * 1024) return {};
  std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD done = 0;
  if (!bytes.empty() && (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) ||
                         done != bytes.size())) {
    return {};
  }
  return bytes;
}

// Writes a temporary file beside the target and moves it over the target, so that a full disk
// or a crash half-way leaves the old settings intact rather than a cut-off file.
// A read-only settings file is the user's way of keeping the settings as they are; it is left alone
// (moving over it would succeed under some file systems and fail under others).
bool WriteFileReplacing(const std::string& path, std::string_view bytes) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
    return false;
  }
  std::string folder = ExtractFilePath(path, IsAnsiLeadByte);
  char temp[MAX_PATH] = {};
  if (GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "rvo", 0, temp) == 0) return false;
  bool written = false;
  {
    UniqueHandle file(CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
      DWORD done = 0;
      written = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
                done == bytes.size() && FlushFileBuffers(file.get());
    }
  }
  if (written && MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  DeleteFileA(temp);
  return false;
}

// The Boolean options in file order.
struct OptionKey {
  const char* key;
  ui::CheckBox TMainForm::*box;
};
constexpr OptionKey kOptions[] = {
    {"AutoSaveDir", &TMainForm::AutoSaveDirCheckBox},
    {"AutoSaveFile", &TMainForm::AutoSaveFileCheckBox},
    {"AutoSaveForceOverwrite", &TMainForm::AutoSaveForceOverwriteCheckBox},
    {"AutoSaveClose", &TMainForm::AutoSaveCloseCheckBox},
    {"DirList", &TMainForm::DirListCheckBox},
    {"DirRecursive", &TMainForm::DirRecursiveCheckBox},
    {"ShowProcess", &TMainForm::ShowProcessCheckBox},
    {"DoneBeep", &TMainForm::DoneBeepCheckBox},
    {"StayOnTop", &TMainForm::StayOnTopCheckBox},
    {"IdlePriority", &TMainForm::IdlePriorityCheckBox},
    {"MD5BinaryMode", &TMainForm::MD5BinaryModeCheckBox},
    {"UpperCRC", &TMainForm::UpperCRCCheckBox},
    {"UpperMD5", &TMainForm::UpperMD5CheckBox},
};

void LoadTabWidth(const IniText& file, const char* section, ui::TabControl& tabs) {
  int width = file.ReadInteger(section, "TabWidth", tabs.TabWidth());
  if (width >= 0 && width <= kMaxTabWidth) tabs.SetTabWidth(width);
}

}  // namespace

std::string ExecutablePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string TMainForm::SettingsFile() const {
  if (!SettingsPath.empty()) return SettingsPath;
  return RemoveFileExtension(ExecutablePath(), IsAnsiLeadByte) + ".ini";
}

void TMainForm::LoadFormBounds(const IniText& file, ui::Form& window, const char* section) {
  int width = file.ReadInteger(section, "Width", window.Width());
  int height = file.ReadInteger(section, "Height", window.Height());
  int top = file.ReadInteger(section, "Top", window.Top());
  int left = file.ReadInteger(section, "Left", window.Left());
  window.SetBounds(left, top, width, height);
}

void TMainForm::SaveFormBounds(IniText& file, ui::Form& window, const char* section) {
  file.WriteInteger(section, "Left", window.Left());
  file.WriteInteger(section, "Top", window.Top());
  // The main window's size follows from its fixed client area.
  if (&window != this) {
    file.WriteInteger(section, "Width", window.Width());
    file.WriteInteger(section, "Height", window.Height());
  }
}

void TMainForm::LoadSettings() {
  const IniText file = IniText::Parse(ReadWholeFile(SettingsFile()));

  LoadFormBounds(file, *this, "MainForm");
  LoadFormBounds(file, *CompareForm, "CompareForm");
  LoadFormBounds(file, *CalcForm, "CalcForm");
  LoadFormBounds(file, *CalcViewForm, "CalcViewForm");

  int page = file.ReadInteger("MainForm", "ActivePage", PageControl.ActivePageIndex());
  PageControl.SetActivePageIndex(page >= 0 && page < PageControl.PageCount() ? page : -1);

  LoadTabWidth(file, "CompareForm", CompareForm->ComparePageControl);
  LoadTabWidth(file, "CalcForm", CalcForm->CalcPageControl);

  int kind = file.ReadInteger("Preferences", "HashType", static_cast<int>(GetHashType()));
  SetHashType(static_cast<THashType>(static_cast<std::uint8_t>(kind)));

  for (const auto& option : kOptions) {
    ui::CheckBox& box = this->*option.box;
    box.SetChecked(file.ReadBool("Preferences", option.key, box.Checked()));
    // Both are applied whether or not the value changed: the normal priority is set explicitly.
    if (&box == &StayOnTopCheckBox) StayOnTopCheckBoxClick();
    if (&box == &IdlePriorityCheckBox) IdlePriorityCheckBoxClick();
  }

  DefaultExtCRCEdit.SetText(file.ReadString("Preferences", "DefaultExtCRC", DefaultExtCRCEdit.Text()));
  DefaultExtMD5Edit.SetText(file.ReadString("Preferences", "DefaultExtMD5", DefaultExtMD5Edit.Text()));
}

void TMainForm::SaveSettings() {
  // Written whole: keys the program does not write (hand-added ones) are dropped.
  IniText file;

  SaveFormBounds(file, *this, "MainForm");
  SaveFormBounds(file, *CompareForm, "CompareForm");
  SaveFormBounds(file, *CalcForm, "CalcForm");
  SaveFormBounds(file, *CalcViewForm, "CalcViewForm");

  file.WriteInteger("MainForm", "ActivePage", PageControl.ActivePageIndex());
  file.WriteInteger("CompareForm", "TabWidth", CompareForm->ComparePageControl.TabWidth());
  file.WriteInteger("CalcForm", "TabWidth", CalcForm->CalcPageControl.TabWidth());

  file.WriteInteger("Preferences", "HashType", static_cast<int>(GetHashType()));
  for (const auto& option : kOptions) file.WriteBool("Preferences", option.key, (this->*option.box).Checked());
  file.WriteString("Preferences", "DefaultExtCRC", DefaultExtCRCEdit.Text());
  file.WriteString("Preferences", "DefaultExtMD5", DefaultExtMD5Edit.Text());

  // A settings file that cannot be written (read-only folder, full disk) must not keep the
  // program from ending; the old file, if any, stays as it was.
  (void)WriteFileReplacing(SettingsFile(), file.Render());
}
