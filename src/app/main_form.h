#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/sound_kind.h"
#include "core/hash_type.h"
#include "engine/options.h"
#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/edit.h"
#include "ui/file_drop_target.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/panel.h"
#include "ui/popup_menu.h"
#include "ui/tab_control.h"

class IniText;
struct CommandLineRequest;

// The main window: the two drop panels with the hash buttons, and the options tab that holds the
// live settings every other window reads at the moment of use.
class TMainForm : public ui::Form {
 public:
  TMainForm();
  ~TMainForm() override;

  // The pressed hash button: CRC16, CRC32, MD5, SHA256 or BLAKE3 (the fourth button's choice), or
  // None when none is pressed.
  THashType GetHashType();
  // CRC16, CRC32, MD5, SHA256 or BLAKE3 presses that button (releasing the others; the last two
  // also choose the fourth button's kind); any other value
  // changes nothing.
  void SetHashType(THashType kind);
  // The options as the controls hold them now, the pressed hash button among them.
  [[nodiscard]] TRunOptions Options();
  // Lets queued messages run, then plays the kind's WAV file from "sounds" beside the exe, or beeps.
  void PlayCompletionSound(TSoundKind kind);

  // The drop targets' handlers; the job windows forward their own drops here.
  void CompareDropDstFileDrop(TDropDst* Sender, std::vector<std::string>& Files, int X, int Y);
  void CalcDropDstFileDrop(TDropDst* Sender, std::vector<std::string>& Files, int X, int Y);

  // The settings file: read once before the command line, written once after the message loop.
  void LoadSettings();
  void SaveSettings();
  void LoadFormBounds(const IniText& file, ui::Form& window, const char* section);
  void SaveFormBounds(IniText& file, ui::Form& window, const char* section);

  // The process's own command line (GetCommandLineA).
  void ProcessCommandLine();
  // The same for given arguments, the program's own name left out.
  void ProcessCommandLine(const std::vector<std::string>& arguments);
  // After a batch command line (option "q"): its exit code; the run showed no window, and the
  // program ends without the message loop and without writing the settings file.
  [[nodiscard]] std::optional<int> BatchExitCode() const { return batchExitCode_; }
  // Where a batch run's lines go; the console of the starting process unless set.
  std::function<void(std::string_view line)> BatchOutput;

  void FormCreate();
  void MenuCloseClick();
  // Ctrl+Tab, Ctrl+PageDown (1) and Ctrl+Shift+Tab, Ctrl+PageUp (-1): the next or previous tab.
  void SwitchTab(int step);
  // Makes SHA256 or BLAKE3 the fourth button's kind and presses it, as a click does when the user
  // chose it (the sound and the focus), or only in code.
  void ChooseModernKind(THashType kind, bool byUser);
  // The panels without a drop: "比較" asks for lists, "作成" offers files or a folder.
  void ComparePanelInvoke();
  void CalcPanelInvoke(POINT at);
  void MenuChooseFilesClick();
  void MenuChooseFolderClick();
  void StayOnTopCheckBoxClick();
  void IdlePriorityCheckBoxClick();

  // Components, named as the rest of the program refers to them.
  ui::TabControl PageControl;
  ui::TabSheet DragDropTabSheet;
  ui::TabSheet PreferencesTabSheet;

  ui::Panel ComparePanel;
  ui::Panel CalcPanel;
  ui::Button CalcCRC16Button;
  ui::Button CalcCRC32Button;
  ui::Button CalcMD5Button;
  // The fourth button stands for one of the modern kinds, SHA256 or BLAKE3, as its caption says;
  // its right-click menu (or Shift+F10) chooses which and presses it. The window keeps its fixed
  // size: a fifth button would leave each too narrow for its caption.
  ui::Button CalcSHA256Button;

  ui::CheckBox AutoSaveDirCheckBox;
  ui::CheckBox AutoSaveFileCheckBox;
  ui::CheckBox AutoSaveForceOverwriteCheckBox;
  ui::CheckBox AutoSaveCloseCheckBox;
  ui::CheckBox DirListCheckBox;
  ui::CheckBox DirRecursiveCheckBox;
  ui::CheckBox ShowProcessCheckBox;
  ui::CheckBox DoneBeepCheckBox;
  ui::CheckBox StayOnTopCheckBox;
  ui::CheckBox IdlePriorityCheckBox;
  ui::CheckBox MD5BinaryModeCheckBox;
  ui::Label UpperCaseLabel;
  ui::CheckBox UpperCRCCheckBox;
  ui::CheckBox UpperMD5CheckBox;
  ui::Label DefaultExtCRCLabel;
  ui::Edit DefaultExtCRCEdit;
  ui::Label DefaultExtMD5Label;
  ui::Edit DefaultExtMD5Edit;
  // The extension offered for SHA-256 lists. The options tab has no room for another row, so it
  // lives in the settings file only.
  std::string DefaultExtSHA256 = "sha256";
  // Likewise for BLAKE3 lists.
  std::string DefaultExtBLAKE3 = "b3";
  // Verification also reports the files that a list does not name; settings file only, likewise
  // (the verification window's menu finds them for one page at any time).
  bool CompareUnlisted = false;
  // Threads that hash at once; 0: as many as the process may use. Settings file only.
  int HashThreads = 0;
  // The option words of a command-line run, laid over the controls while that run lasts.
  TRunOverrides RunOverrides;

  // The fourth button's kind and its menu.
  THashType ModernKind = THashType::SHA256;
  ui::PopupMenu ModernKindMenu;
  ui::MenuItem& MenuModernSHA256;  // "SHA256"
  ui::MenuItem& MenuModernBLAKE3;  // "BLAKE3"
  ui::PopupMenu PopupMenu;         // exists for its shortcuts (Esc, the tabs): it never pops up
  ui::MenuItem& MenuClose;         // "閉じる(&C)", Esc
  // What "作成" offers from the keyboard or a double click.
  ui::PopupMenu ChooserMenu;
  ui::MenuItem& MenuChooseFiles;   // "ファイルを選択(&F)..."
  ui::MenuItem& MenuChooseFolder;  // "フォルダを選択(&D)..."

  TDropDst CompareDropDst;
  TDropDst CalcDropDst;

  // Seams. Empty entries mean the real windows: CalcForm->CalcFiles and CompareForm->CompareFiles.
  std::function<void(std::vector<std::string>& paths)> CalcFilesEntry;
  std::function<void(std::vector<std::string>& paths)> CompareFilesEntry;
  // Where the settings live; the exe path with ".ini" unless set.
  std::string SettingsPath;
  // The folder whose "sounds" sub-folder holds the WAV files, with a trailing "\"; the exe's folder
  // unless set.
  std::string SoundBaseFolder;
  // The two sound calls; PlaySoundW(path, nullptr, SND_ASYNC) and MessageBeep unless set.
  std::function<void(const std::string& path)> PlaySoundFile;
  std::function<void(UINT beepType)> Beep;

 private:
  std::array<ui::Button*, 4> HashButtons();
  void RunDrop(ui::Panel& panel, const char8_t* idleCaption, const std::function<void()>& run);
  void CalcFiles(std::vector<std::string>& paths);
  void CompareFiles(std::vector<std::string>& paths);
  std::string SettingsFile() const;
  void RunCommandLine(CommandLineRequest& request);
  int RunBatch(const CommandLineRequest& request);
  // Lines for whoever started the program: BatchOutput, the standard output or the parent's
  // console, or else a message box.
  void TellLines(const std::vector<std::string>& lines, bool utf8);
  // The usage (-h), or the shell menus written or removed: a line or text, no run.
  int ShowUsage(const CommandLineRequest& request);
  int RunRegistration(const CommandLineRequest& request);

  std::optional<int> batchExitCode_;
};

extern TMainForm* MainForm;
