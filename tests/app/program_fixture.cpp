#include "app/program_fixture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>

#include "app/calc_form.h"
#include "app/calc_view_form.h"
#include "app/compare_form.h"
#include "app/main_form.h"
#include "app/program.h"
#include "e2e/test_win32.h"
#include "ui/application.h"
#include "ui/clipboard.h"
#include "win/handle.h"

namespace apptest {
namespace {

// The program's four windows for the whole test process, as the program itself makes them.
class ProgramEnvironment : public testing::Environment {
 public:
  void SetUp() override { CreateProgramForms(); }
  void TearDown() override { DestroyProgramForms(); }
};

[[maybe_unused]] testing::Environment* const programEnvironment =
    testing::AddGlobalTestEnvironment(new ProgramEnvironment);

}  // namespace

void PumpMessages() { ui::App().ProcessMessages(); }

void ResetProgramForms() {
  TMainForm& main = *MainForm;
  main.CalcFilesEntry = nullptr;
  main.CompareFilesEntry = nullptr;
  main.SettingsPath.clear();
  main.SoundBaseFolder.clear();
  main.PlaySoundFile = nullptr;
  main.Beep = nullptr;

  ui::Form* const windows[] = {MainForm, CompareForm, CalcForm, CalcViewForm};
  for (ui::Form* window : windows) window->Hide();

  // The fourth button back to SHA256, then the first start's CRC32.
  main.SetHashType(THashType::SHA256);
  main.SetHashType(THashType::CRC32);
  struct Default {
    ui::CheckBox* box;
    bool checked;
  };
  const Default defaults[] = {{&main.AutoSaveDirCheckBox, false},
                              {&main.AutoSaveFileCheckBox, false},
                              {&main.AutoSaveForceOverwriteCheckBox, false},
                              {&main.AutoSaveCloseCheckBox, false},
                              {&main.DirListCheckBox, true},
                              {&main.DirRecursiveCheckBox, false},
                              {&main.ShowProcessCheckBox, true},
                              {&main.DoneBeepCheckBox, true},
                              {&main.StayOnTopCheckBox, false},
                              {&main.IdlePriorityCheckBox, false},
                              {&main.MD5BinaryModeCheckBox, false},
                              {&main.UpperCRCCheckBox, true},
                              {&main.UpperMD5CheckBox, false}};
  for (const Default& option : defaults) option.box->SetChecked(option.checked);
  main.StayOnTopCheckBoxClick();
  main.IdlePriorityCheckBoxClick();
  main.DefaultExtCRCEdit.SetText("crc");
  main.DefaultExtMD5Edit.SetText("md5");
  main.DefaultExtSHA256 = "sha256";
  main.DefaultExtBLAKE3 = "b3";
  main.CompareUnlisted = false;
  main.HashThreads = 0;
  main.PageControl.SetActivePageIndex(0);
  // A settings test may have given it a hand-added width.
  main.SetClientSize(main.Scaled(152), main.Scaled(272));
  main.FormCreate();
  ui::Form* const jobWindows[] = {CompareForm, CalcForm, CalcViewForm};
  for (ui::Form* window : jobWindows) window->SetBounds(0, 0, window->Scaled(408), window->Scaled(327));
  CompareForm->FormCreate();
  CalcForm->FormCreate();
  CalcViewForm->FormCreate();
  // A digest left on the clipboard by an earlier test would be compared with the next page of one
  // file.
  (void)ui::SetClipboardText("");
  CompareForm->ComparePageControl.SetTabWidth(0);
  CalcForm->CalcPageControl.SetTabWidth(0);
  PumpMessages();
  ui::App().ResetTerminated();
}

void RecordRuns(std::function<void(bool creation, std::vector<std::string>& paths)> record) {
  MainForm->PlaySoundFile = [](const std::string&) {};
  MainForm->Beep = [](UINT) {};
  MainForm->CalcFilesEntry = [record](std::vector<std::string>& paths) { record(true, paths); };
  MainForm->CompareFilesEntry = [record](std::vector<std::string>& paths) { record(false, paths); };
}

void ClickWindow(HWND window, int button) {
  HWND top = GetAncestor(window, GA_ROOT);
  SetForegroundWindow(top);
  PumpMessages();
  RECT rect{};
  GetWindowRect(window, &rect);
  SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  INPUT inputs[2] = {};
  inputs[0].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = button == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_RIGHTDOWN;
  inputs[1].type = INPUT_MOUSE;
  inputs[1].mi.dwFlags = button == 0 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP;
  SendInput(2, inputs, sizeof(INPUT));
  for (int i = 0; i < 5; ++i) {
    Sleep(10);
    PumpMessages();
  }
}

void PressKey(WORD virtualKey, bool shift, bool ctrl) {
  testfiles::SendKeyPress(virtualKey, shift, ctrl);
  for (int i = 0; i < 5; ++i) {
    Sleep(10);
    PumpMessages();
  }
}

std::optional<std::string> ReadFileBytes(const std::string& path) { return testfiles::ReadFileBytes(path); }

void WriteFileBytes(const std::string& path, const std::string& bytes) { testfiles::WriteFileBytes(path, bytes); }

TempFolder::TempFolder() : path_(testfiles::MakeTempFolder("ruvo-app-")) {}

TempFolder::~TempFolder() { testfiles::RemoveTree(path_); }

void TempFolder::Write(const std::string& relative, const std::string& bytes) const {
  WriteFileBytes(File(relative), bytes);
}

}  // namespace apptest
