// The settings file: read once before the command line is handled, written once after the
// message loop, whole and in a fixed order.
#include "app/main_form.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>

#include "app/calc_form.h"
#include "app/calc_view_form.h"
#include "app/compare_form.h"
#include "core/codepage.h"
#include "core/ini.h"
#include "core/path.h"
#include "core/placement.h"
#include "ui/monitor.h"
#include "win/atomic_write.h"
#include "win/file.h"
#include "win/unicode.h"
#include "win/user_locale.h"

namespace {

// Tab widths travel as 16-bit values to the tab controls; others cannot be applied.
constexpr int kMaxTabWidth = 32767;
// Far beyond any settings file the program writes; a larger file is no settings file.
constexpr std::uint64_t kMaxSettingsBytes = 64 * 1024 * 1024;

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

// Window geometry in the file: Left and Top name a place on the desktop, so they are screen pixels;
// widths and heights are lengths designed at 96 DPI, so that a window keeps its look when the
// display scale changes. At 96 DPI both are the window's pixels.

// A length of the file in the control's pixels, or the one it has.
int ReadLength(const IniText& file, const char* section, const char* key, const ui::Control& control, int current) {
  const std::optional<int> length = file.ReadOptionalInteger(section, key);
  return length ? control.Scaled(*length) : current;
}

void LoadTabWidth(const IniText& file, const char* section, ui::TabControl& tabs) {
  const std::optional<int> width = file.ReadOptionalInteger(section, "TabWidth");
  if (width && *width >= 0 && *width <= kMaxTabWidth) tabs.SetTabWidth(std::min(tabs.Scaled(*width), kMaxTabWidth));
}

}  // namespace

std::string TMainForm::SettingsFile() const {
  if (!SettingsPath.empty()) return SettingsPath;
  return RemoveFileExtension(win::ExecutablePath(), IsNeverLeadByte) + ".ini";
}

void TMainForm::LoadFormBounds(const IniText& file, ui::Form& window, const char* section) {
  int width = ReadLength(file, section, "Width", window, window.Width());
  int height = ReadLength(file, section, "Height", window, window.Height());
  int top = file.ReadInteger(section, "Top", window.Top());
  int left = file.ReadInteger(section, "Left", window.Left());
  const TWindowBounds bounds = ui::OnScreen({left, top, width, height});
  window.SetBounds(bounds.left, bounds.top, bounds.width, bounds.height);
}

void TMainForm::SaveFormBounds(IniText& file, ui::Form& window, const char* section) {
  file.WriteInteger(section, "Left", window.Left());
  file.WriteInteger(section, "Top", window.Top());
  // The main window's size follows from its fixed client area.
  if (&window != this) {
    file.WriteInteger(section, "Width", window.Unscaled(window.Width()));
    file.WriteInteger(section, "Height", window.Unscaled(window.Height()));
  }
}

void TMainForm::LoadSettings() {
  // A settings file that is not there, or cannot be read, means built-in defaults.
  // Its text is in the ANSI code page, as it always was; the program's texts are UTF-8.
  const IniText file =
      IniText::Parse(win::Utf8FromAnsi(win::ReadWholeFile(SettingsFile(), kMaxSettingsBytes, true).value_or("")));

  LoadFormBounds(file, *this, "MainForm");
  LoadFormBounds(file, *CompareForm, "CompareForm");
  LoadFormBounds(file, *CalcForm, "CalcForm");
  LoadFormBounds(file, *CalcViewForm, "CalcViewForm");

  int page = file.ReadInteger("MainForm", "ActivePage", PageControl.ActivePageIndex());
  PageControl.SetActivePageIndex(page >= 0 && page < PageControl.PageCount() ? page : -1);

  LoadTabWidth(file, "CompareForm", CompareForm->ComparePageControl);
  LoadTabWidth(file, "CalcForm", CalcForm->CalcPageControl);

  int kind = file.ReadInteger("Preferences", "HashType", SettingsValueOfKind(GetHashType()));
  SetHashType(KindOfSettingsValue(static_cast<std::uint8_t>(kind)));

  for (const auto& option : kOptions) {
    ui::CheckBox& box = this->*option.box;
    box.SetChecked(file.ReadBool("Preferences", option.key, box.Checked()));
    // Both are applied whether or not the value changed: the normal priority is set explicitly.
    if (&box == &StayOnTopCheckBox) StayOnTopCheckBoxClick();
    if (&box == &IdlePriorityCheckBox) IdlePriorityCheckBoxClick();
  }

  DefaultExtCRCEdit.SetText(file.ReadString("Preferences", "DefaultExtCRC", DefaultExtCRCEdit.Text()));
  DefaultExtMD5Edit.SetText(file.ReadString("Preferences", "DefaultExtMD5", DefaultExtMD5Edit.Text()));
  DefaultExtSHA256 = file.ReadString("Preferences", "DefaultExtSHA256", DefaultExtSHA256);
  CompareUnlisted = file.ReadBool("Preferences", "CompareUnlisted", CompareUnlisted);
  HashThreads = file.ReadInteger("Preferences", "HashThreads", HashThreads);
  DefaultExtBLAKE3 = file.ReadString("Preferences", "DefaultExtBLAKE3", DefaultExtBLAKE3);
}

void TMainForm::SaveSettings() {
  // Written whole: keys the program does not write (hand-added ones) are dropped.
  IniText file;

  SaveFormBounds(file, *this, "MainForm");
  SaveFormBounds(file, *CompareForm, "CompareForm");
  SaveFormBounds(file, *CalcForm, "CalcForm");
  SaveFormBounds(file, *CalcViewForm, "CalcViewForm");

  file.WriteInteger("MainForm", "ActivePage", PageControl.ActivePageIndex());
  const ui::TabControl& compareTabs = CompareForm->ComparePageControl;
  const ui::TabControl& calcTabs = CalcForm->CalcPageControl;
  file.WriteInteger("CompareForm", "TabWidth", compareTabs.Unscaled(compareTabs.TabWidth()));
  file.WriteInteger("CalcForm", "TabWidth", calcTabs.Unscaled(calcTabs.TabWidth()));

  file.WriteInteger("Preferences", "HashType", SettingsValueOfKind(GetHashType()));
  for (const auto& option : kOptions) file.WriteBool("Preferences", option.key, (this->*option.box).Checked());
  file.WriteString("Preferences", "DefaultExtCRC", DefaultExtCRCEdit.Text());
  file.WriteString("Preferences", "DefaultExtMD5", DefaultExtMD5Edit.Text());
  file.WriteString("Preferences", "DefaultExtSHA256", DefaultExtSHA256);
  file.WriteBool("Preferences", "CompareUnlisted", CompareUnlisted);
  file.WriteInteger("Preferences", "HashThreads", HashThreads);
  file.WriteString("Preferences", "DefaultExtBLAKE3", DefaultExtBLAKE3);

  // A settings file that cannot be written (read-only folder, full disk) must not keep the
  // program from ending; the old file, if any, stays as it was.
  (void)win::WriteFileAtomically(SettingsFile(), win::AnsiFromUtf8(file.Render()));
}
