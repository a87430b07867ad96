// Jobs started without a drop: the main window's panels from the keyboard or a double click, and
// the job windows' "開く" commands, with the system dialogs answered by the test.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/calc_form.h"
#include "app/calc_frame.h"
#include "app/compare_form.h"
#include "app/compare_frame.h"
#include "app/main_form.h"
#include "app/program_fixture.h"
#include "e2e/test_win32.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/text.h"

namespace {

using apptest::PumpMessages;

std::string U8(const char8_t* text) { return ui::Utf8(text); }

// Lets messages run until the condition holds; input from the X server arrives asynchronously.
bool PumpUntil(const std::function<bool()>& condition) {
  for (int i = 0; i < 200 && !condition(); ++i) {
    PumpMessages();
    Sleep(5);
  }
  return condition();
}

// Keys sent together, so that those after the first reach the menu that the first one opens.
void SendKeys(std::initializer_list<WORD> keys) {
  for (WORD key : keys) testfiles::SendKeyPress(key);
}

POINT PanelPoint(ui::Panel& panel) {
  POINT point{40, 30};  // clear of the hash buttons
  ClientToScreen(panel.Handle(), &point);
  return point;
}

// One run that reached CalcFiles or CompareFiles, and whether its panel was busy as for a drop.
struct JobRun {
  bool creation = false;
  std::vector<std::string> paths;
  bool busy = false;
  bool operator==(const JobRun&) const = default;
};

void PrintTo(const JobRun& run, std::ostream* out) {
  *out << (run.creation ? "creation" : "verification") << (run.busy ? " busy" : " idle") << " {";
  for (const std::string& path : run.paths) *out << " " << path;
  *out << " }";
}

// What a dialog was asked with.
struct Asked {
  std::string kind;  // "open" or "folder"
  std::wstring title;
  std::wstring filter;
};

class ChooserTest : public testing::Test {
 protected:
  void SetUp() override {
    apptest::ResetProgramForms();
    apptest::RecordRuns([this](bool creation, std::vector<std::string>& paths) { Record(creation, paths); });
    previousOpen_ = ui::SetOpenDialogHook([this](ui::OpenDialog& dialog) {
      asked_.push_back({"open", dialog.Title(), dialog.Filter()});
      if (files_.empty()) return false;
      dialog.SetFiles(files_);
      return true;
    });
    previousFolder_ = ui::SetFolderDialogHook([this](ui::FolderDialog& dialog) {
      asked_.push_back({"folder", dialog.Title(), L""});
      if (folder_.empty()) return false;
      dialog.SetFolder(folder_);
      return true;
    });
    // Were a menu to stay open, its modal loop would block the test; this closes it after a while
    // so that the failure reports instead of hanging.
    menuTimer_ = SetTimer(nullptr, 0, 3000, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
  }
  void TearDown() override {
    KillTimer(nullptr, menuTimer_);
    ui::SetOpenDialogHook(previousOpen_);
    ui::SetFolderDialogHook(previousFolder_);
    apptest::ResetProgramForms();
  }

  void Record(bool creation, const std::vector<std::string>& paths) {
    TMainForm& m = *MainForm;
    ui::Panel& panel = creation ? m.CalcPanel : m.ComparePanel;
    const bool busy = panel.Caption() == U8(u8"処理中") && IsWindowEnabled(panel.Handle()) == FALSE &&
                      panel.FontColor() == ui::Color::System(COLOR_GRAYTEXT) && !m.PreferencesTabSheet.TabVisible();
    runs_.push_back({creation, paths, busy});
    if (duringRun_) std::exchange(duringRun_, nullptr)();
  }

  // The main window in front with the keyboard focus on the window itself.
  void ShowMain() {
    MainForm->Show();
    SetForegroundWindow(MainForm->Handle());
    MainForm->SetFocus();
    PumpMessages();
  }
  static bool TabTo(ui::Panel& panel) {
    testfiles::SendKeyPress(VK_TAB);
    return PumpUntil([&] { return panel.Focused(); });
  }
  bool Asks(std::size_t count) {
    return PumpUntil([&] { return asked_.size() == count; });
  }
  static bool Idle(ui::Panel& panel, const char8_t* caption) {
    return panel.Caption() == U8(caption) && IsWindowEnabled(panel.Handle()) != FALSE &&
           MainForm->PreferencesTabSheet.TabVisible();
  }

  apptest::TempFolder temp_;
  std::vector<std::string> files_;  // the open dialog's answer; empty: cancelled
  std::string folder_;              // the folder dialog's answer; empty: cancelled
  std::vector<Asked> asked_;
  std::vector<JobRun> runs_;
  std::function<void()> duringRun_;  // once, inside the next run

 private:
  ui::OpenDialogHook previousOpen_;
  ui::FolderDialogHook previousFolder_;
  UINT_PTR menuTimer_ = 0;
};

const std::wstring kListsTitle = L"チェックサムリストを開く";
const std::wstring kListsFilter =
    L"チェックサムリスト(*.crc;*.md5;*.sfv;*.sha1;*.sha256;*.sha512;*.b3)|*.crc;*.md5;*.sfv;*.sha1;*.sha256;*.sha512;*."
    L"b3"
    L"|すべてのファイル(*.*)|*.*";

// Enter and Space on the focused "比較", and a double click on it: the lists' dialog, then the
// chosen lists in one run with the panel busy as for a drop; the focus stays for the next key.
TEST_F(ChooserTest, CompareAsksForListsByKeyOrDoubleClick) {
  files_ = {temp_.File("a.md5"), temp_.File("\xE8\xA1\xA8.sfv")};  // 表.sfv
  ShowMain();
  ASSERT_TRUE(TabTo(MainForm->ComparePanel)) << "the key did not arrive";
  const std::function<void()> ways[] = {[] { testfiles::SendKeyPress(VK_RETURN); },
                                        [] { testfiles::SendKeyPress(VK_SPACE); },
                                        [] { testfiles::SendDoubleClick(PanelPoint(MainForm->ComparePanel)); }};
  for (std::size_t i = 0; i < std::size(ways); ++i) {
    SCOPED_TRACE(i);
    ways[i]();
    ASSERT_TRUE(Asks(i + 1));
    EXPECT_EQ(asked_[i].kind, "open");
    EXPECT_EQ(asked_[i].title, kListsTitle);
    EXPECT_EQ(asked_[i].filter, kListsFilter);
    ASSERT_EQ(runs_.size(), i + 1);
    EXPECT_EQ(runs_[i], (JobRun{false, files_, true}));
    EXPECT_TRUE(Idle(MainForm->ComparePanel, u8"比較"));
    EXPECT_TRUE(MainForm->ComparePanel.Focused()) << "the keyboard goes on from the panel";
  }
}

TEST_F(ChooserTest, ACancelledDialogStartsNothing) {
  ShowMain();
  ASSERT_TRUE(TabTo(MainForm->ComparePanel));
  testfiles::SendKeyPress(VK_RETURN);
  ASSERT_TRUE(Asks(1));
  ASSERT_TRUE(TabTo(MainForm->CalcPanel));
  SendKeys({VK_RETURN, 'F'});
  ASSERT_TRUE(Asks(2));
  SendKeys({VK_SPACE, 'D'});
  ASSERT_TRUE(Asks(3));
  EXPECT_EQ(asked_[2].kind, "folder");
  PumpMessages();
  EXPECT_TRUE(runs_.empty());
  EXPECT_TRUE(Idle(MainForm->ComparePanel, u8"比較"));
  EXPECT_TRUE(Idle(MainForm->CalcPanel, u8"作成"));
}

// "作成" offers a menu: files (several) or a folder, each a run as a drop of them would be; Esc
// closes the menu alone.
TEST_F(ChooserTest, CalcOffersFilesOrAFolder) {
  files_ = {temp_.File("1.bin"), temp_.File("2.bin"), temp_.File("3.bin")};
  folder_ = temp_.File("photos");
  ShowMain();
  ASSERT_TRUE(TabTo(MainForm->ComparePanel));
  ASSERT_TRUE(TabTo(MainForm->CalcPanel));
  SendKeys({VK_RETURN, 'F'});
  ASSERT_TRUE(Asks(1));
  EXPECT_EQ(asked_[0].kind, "open");
  EXPECT_EQ(asked_[0].title, L"ファイルを開く");
  EXPECT_EQ(asked_[0].filter, L"すべてのファイル(*.*)|*.*");
  SendKeys({VK_SPACE, 'D'});
  ASSERT_TRUE(Asks(2));
  EXPECT_EQ(asked_[1].kind, "folder");
  EXPECT_EQ(asked_[1].title, L"フォルダを開く");
  testfiles::SendDoubleClick(PanelPoint(MainForm->CalcPanel));
  SendKeys({VK_DOWN, VK_DOWN, VK_RETURN});  // the second item
  ASSERT_TRUE(Asks(3));
  EXPECT_EQ(asked_[2].kind, "folder");
  EXPECT_EQ(runs_, (std::vector<JobRun>{{true, files_, true}, {true, {folder_}, true}, {true, {folder_}, true}}));

  MainForm->ComparePanel.SetFocus();
  ASSERT_TRUE(TabTo(MainForm->CalcPanel));
  SendKeys({VK_RETURN, VK_ESCAPE});
  PumpMessages();
  Sleep(100);
  PumpMessages();
  EXPECT_EQ(asked_.size(), 3u);
  EXPECT_TRUE(IsWindowVisible(MainForm->Handle())) << "Esc closed the menu, not the window";
  EXPECT_FALSE(ui::App().Terminated());
  EXPECT_EQ(runs_.size(), 3u);
}

// While "比較" runs, it takes no double click, as it takes no drop; "作成" starts a run inside,
// as a drop on it would.
TEST_F(ChooserTest, ABusyPanelTakesNoChooserAndTheOtherOneRunsInside) {
  files_ = {temp_.File("l.crc")};
  ShowMain();
  std::size_t askedInside = 0;
  duringRun_ = [&] {
    testfiles::SendDoubleClick(PanelPoint(MainForm->ComparePanel));
    PumpMessages();
    Sleep(100);
    PumpMessages();
    askedInside = asked_.size();
    files_ = {temp_.File("x.bin"), temp_.File("y.bin")};
    testfiles::SendDoubleClick(PanelPoint(MainForm->CalcPanel));
    SendKeys({'F'});
    PumpUntil([&] { return runs_.size() == 2; });
  };
  MainForm->ComparePanelInvoke();
  EXPECT_EQ(askedInside, 1u) << "the busy panel opened a dialog";
  ASSERT_EQ(runs_.size(), 2u);
  EXPECT_EQ(runs_[0], (JobRun{false, {temp_.File("l.crc")}, true}));
  EXPECT_EQ(runs_[1], (JobRun{true, {temp_.File("x.bin"), temp_.File("y.bin")}, true}));
  EXPECT_TRUE(Idle(MainForm->ComparePanel, u8"比較"));
  EXPECT_TRUE(Idle(MainForm->CalcPanel, u8"作成"));
}

TEST_F(ChooserTest, TheListsFilterAddsTheOwnExtensions) {
  struct Case {
    const char* crc;
    const char* md5;
    const char* sha256;
    const char* blake3;
    std::wstring patterns;
  };
  const Case cases[] = {
      {"crc", "md5", "sha256", "b3", L"*.crc;*.md5;*.sfv;*.sha1;*.sha256;*.sha512;*.b3"},
      {"txt", "MD5", "h", "blake3", L"*.crc;*.md5;*.sfv;*.sha1;*.sha256;*.sha512;*.b3;*.txt;*.h;*.blake3"},
      {"a;b", "", "s|x", "*", L"*.crc;*.md5;*.sfv;*.sha1;*.sha256;*.sha512;*.b3"},
  };
  for (const Case& c : cases) {
    MainForm->DefaultExtCRCEdit.SetText(c.crc);
    MainForm->DefaultExtMD5Edit.SetText(c.md5);
    MainForm->DefaultExtSHA256 = c.sha256;
    MainForm->DefaultExtBLAKE3 = c.blake3;
    MainForm->ComparePanelInvoke();
    ASSERT_FALSE(asked_.empty());
    EXPECT_EQ(asked_.back().filter,
              L"チェックサムリスト(" + c.patterns + L")|" + c.patterns + L"|すべてのファイル(*.*)|*.*")
        << c.crc;
  }
  EXPECT_TRUE(runs_.empty());
}

// Ctrl+O on the job windows: the chosen paths go where a drop on that window goes, the main
// window's handlers, busy panel and all.
TEST_F(ChooserTest, JobWindowsOpenWithCtrlO) {
  temp_.Write("a.txt", "abc");
  temp_.Write("a.md5", "900150983cd24fb0d6963f7d28e17f72  a.txt\n");
  MainForm->CompareFilesEntry = nullptr;
  MainForm->CalcFilesEntry = nullptr;
  std::vector<std::string> list = {temp_.File("a.md5")};
  CompareForm->CompareFiles(list);
  std::vector<std::string> file = {temp_.File("a.txt")};
  CalcForm->CalcFiles(file);
  ASSERT_EQ(CompareForm->PageCount(), 1);
  ASSERT_EQ(CalcForm->PageCount(), 1);
  apptest::RecordRuns([this](bool creation, std::vector<std::string>& paths) { Record(creation, paths); });

  struct Step {
    ui::Form* window;
    ui::Control* focus;
    bool shift;
    std::vector<std::string> files;
    std::string folder;
    const char* kind;
    std::vector<JobRun> runs;
  };
  const std::string folder = temp_.File("f");
  const Step steps[] = {
      {CompareForm,
       &CompareForm->ActiveFrame()->ListView,
       false,
       {temp_.File("b.crc"), temp_.File("c.crc")},
       "",
       "open",
       {{false, {temp_.File("b.crc"), temp_.File("c.crc")}, true}}},
      {CompareForm, &CompareForm->ActiveFrame()->ListView, false, {}, "", "open", {}},
      {CalcForm,
       &CalcForm->ActiveFrame()->ListView,
       false,
       {temp_.File("d")},
       "",
       "open",
       {{true, {temp_.File("d")}, true}}},
      {CalcForm, &CalcForm->ActiveFrame()->ListView, true, {}, folder, "folder", {{true, {folder}, true}}},
      {CalcForm, &CalcForm->ActiveFrame()->ListView, true, {}, "", "folder", {}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.window->Caption() + " " + step.kind);
    asked_.clear();
    runs_.clear();
    files_ = step.files;
    folder_ = step.folder;
    step.window->Show();
    SetForegroundWindow(step.window->Handle());
    step.focus->SetFocus();
    PumpMessages();
    apptest::PressKey('O', step.shift, true);
    ASSERT_TRUE(Asks(1));
    EXPECT_EQ(asked_[0].kind, step.kind);
    if (step.window == CompareForm) {
      EXPECT_EQ(asked_[0].filter, kListsFilter);
    }
    PumpMessages();
    EXPECT_EQ(runs_, step.runs);
  }
}

}  // namespace
