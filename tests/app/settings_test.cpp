// The settings file through the real windows: defaults, a full round trip, the exact bytes and
// order written, tolerant reading, and a file that cannot be written.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "app/calc_form.h"
#include "app/calc_view_form.h"
#include "app/compare_form.h"
#include "app/main_form.h"
#include "app/program_fixture.h"
#include "e2e/settings_text.h"
#include "support/wide_path.h"
#include "ui/form.h"

namespace {

using apptest::ReadFileBytes;

int FilesIn(const std::string& folder) {
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW(W(folder + "*").c_str(), &entry);
  int count = 0;
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  return count;
}

bool Topmost(ui::Form& form) { return (GetWindowLongW(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

std::string Bounds(const char* section, ui::Form& form, bool withSize) {
  std::string text = std::string("[") + section + "]\r\nLeft=" + std::to_string(form.Left()) +
                     "\r\nTop=" + std::to_string(form.Top()) + "\r\n";
  if (withSize)
    text += "Width=" + std::to_string(form.Width()) + "\r\nHeight=" + std::to_string(form.Height()) + "\r\n";
  return text;
}

class SettingsTest : public testing::Test {
 protected:
  void SetUp() override {
    apptest::ResetProgramForms();
    MainForm->SettingsPath = Ini();
  }
  void TearDown() override { apptest::ResetProgramForms(); }

  std::string Ini() const { return folder_.File("ruvo.ini"); }
  void WriteIni(const std::string& text) const { folder_.Write("ruvo.ini", text); }
  // Loads a file of just these Preferences lines.
  void LoadPreferences(const std::string& lines) {
    WriteIni("[Preferences]\r\n" + lines);
    MainForm->LoadSettings();
  }

  apptest::TempFolder folder_;
};

TEST_F(SettingsTest, FirstStartWithoutFileKeepsTheDesignedState) {
  MainForm->LoadSettings();
  TMainForm& m = *MainForm;
  EXPECT_EQ(m.Left(), 0);
  EXPECT_EQ(m.Top(), 0);
  EXPECT_EQ(m.PageControl.ActivePageIndex(), 0);
  ui::Form* const jobWindows[] = {CompareForm, CalcForm};
  for (ui::Form* window : jobWindows) {
    EXPECT_EQ(window->Width(), 408);
    EXPECT_EQ(window->Height(), 327);
    EXPECT_EQ(window->Left(), ui::ScreenWidth() / 2 - 408 / 2);
    EXPECT_EQ(window->Top(), ui::ScreenHeight() / 2 - 327 / 2);
  }
  EXPECT_EQ(CalcViewForm->Left(), CalcForm->Left() + 32);
  EXPECT_EQ(CalcViewForm->Top(), CalcForm->Top() + 32);
  EXPECT_EQ(m.GetHashType(), THashType::CRC32);
  EXPECT_FALSE(m.AutoSaveDirCheckBox.Checked());
  EXPECT_TRUE(m.DirListCheckBox.Checked());
  EXPECT_TRUE(m.ShowProcessCheckBox.Checked());
  EXPECT_TRUE(m.DoneBeepCheckBox.Checked());
  EXPECT_TRUE(m.UpperCRCCheckBox.Checked());
  EXPECT_FALSE(m.UpperMD5CheckBox.Checked());
  EXPECT_EQ(m.DefaultExtCRCEdit.Text(), "crc");
  EXPECT_EQ(m.DefaultExtMD5Edit.Text(), "md5");
  EXPECT_EQ(m.DefaultExtSHA256, "sha256");
  EXPECT_EQ(m.DefaultExtBLAKE3, "b3");
  EXPECT_FALSE(m.CompareUnlisted);
  EXPECT_EQ(m.HashThreads, 0);
  EXPECT_FALSE(ReadFileBytes(Ini())) << "reading writes nothing";
}

TEST_F(SettingsTest, DefaultsAreWrittenWholeInTheFixedOrder) {
  MainForm->SaveSettings();
  std::string expected = Bounds("MainForm", *MainForm, false) + "ActivePage=0\r\n\r\n" +
                         Bounds("CompareForm", *CompareForm, true) + "TabWidth=0\r\n\r\n" +
                         Bounds("CalcForm", *CalcForm, true) + "TabWidth=0\r\n\r\n" +
                         Bounds("CalcViewForm", *CalcViewForm, true) + "\r\n" + FirstStartPreferences();
  EXPECT_EQ(ReadFileBytes(Ini()), expected);
  EXPECT_EQ(FilesIn(folder_.Path()), 1) << "no temporary file is left behind";
}

TEST_F(SettingsTest, WrittenFileReadBackReproducesEveryValue) {
  TMainForm& m = *MainForm;
  m.SetBounds(12, 34, m.Width(), m.Height());
  CompareForm->SetBounds(100, 110, 500, 400);
  CalcForm->SetBounds(120, 130, 510, 410);
  CalcViewForm->SetBounds(140, 150, 520, 420);
  m.PageControl.SetActivePageIndex(1);
  CompareForm->ComparePageControl.SetTabWidth(80);
  CalcForm->CalcPageControl.SetTabWidth(90);
  m.SetHashType(THashType::BLAKE3);
  ui::CheckBox* const options[] = {&m.AutoSaveDirCheckBox,   &m.AutoSaveFileCheckBox, &m.AutoSaveForceOverwriteCheckBox,
                                   &m.AutoSaveCloseCheckBox, &m.DirListCheckBox,      &m.DirRecursiveCheckBox,
                                   &m.ShowProcessCheckBox,   &m.DoneBeepCheckBox,     &m.MD5BinaryModeCheckBox,
                                   &m.UpperCRCCheckBox,      &m.UpperMD5CheckBox};
  for (ui::CheckBox* box : options) box->SetChecked(!box->Checked());
  m.DefaultExtCRCEdit.SetText("sfv");
  m.DefaultExtMD5Edit.SetText("\xE8\xA1\xA8");  // 表, trail byte 0x5C
  m.DefaultExtSHA256 = "s256";
  m.DefaultExtBLAKE3 = "blake3";
  m.CompareUnlisted = true;
  m.HashThreads = 3;
  m.SaveSettings();
  std::optional<std::string> written = ReadFileBytes(Ini());
  ASSERT_TRUE(written);

  std::vector<bool> saved;
  for (ui::CheckBox* box : options) saved.push_back(box->Checked());
  apptest::ResetProgramForms();
  m.SettingsPath = Ini();
  m.LoadSettings();

  EXPECT_EQ(m.Left(), 12);
  EXPECT_EQ(m.Top(), 34);
  EXPECT_EQ(CompareForm->Left(), 100);
  EXPECT_EQ(CompareForm->Top(), 110);
  EXPECT_EQ(CompareForm->Width(), 500);
  EXPECT_EQ(CompareForm->Height(), 400);
  EXPECT_EQ(CalcForm->Left(), 120);
  EXPECT_EQ(CalcForm->Height(), 410);
  EXPECT_EQ(CalcViewForm->Top(), 150);
  EXPECT_EQ(CalcViewForm->Width(), 520);
  EXPECT_EQ(m.PageControl.ActivePageIndex(), 1);
  EXPECT_EQ(CompareForm->ComparePageControl.TabWidth(), 80);
  EXPECT_EQ(CalcForm->CalcPageControl.TabWidth(), 90);
  EXPECT_EQ(m.GetHashType(), THashType::BLAKE3);
  EXPECT_NE(written->find("HashType=5\r\n"), std::string::npos) << "BLAKE3 is stored as 5";
  for (size_t i = 0; i < std::size(options); ++i) EXPECT_EQ(options[i]->Checked(), saved[i]) << "option " << i;
  EXPECT_EQ(m.DefaultExtCRCEdit.Text(), "sfv");
  EXPECT_EQ(m.DefaultExtMD5Edit.Text(), "\xE8\xA1\xA8");
  EXPECT_EQ(m.DefaultExtSHA256, "s256");
  EXPECT_EQ(m.DefaultExtBLAKE3, "blake3");
  EXPECT_TRUE(m.CompareUnlisted);
  EXPECT_EQ(m.HashThreads, 3);

  m.SaveSettings();
  EXPECT_EQ(ReadFileBytes(Ini()), written) << "a second save writes the same bytes";
}

TEST_F(SettingsTest, HandAddedKeysAreUsedOnceAndDropped) {
  WriteIni(
      "; my notes\r\n"
      "[MainForm]\r\n"
      "Width=300\r\n"
      "Left=5\r\n"
      "[Mine]\r\n"
      "Colour=blue\r\n"
      "[Preferences]\r\n"
      "Unknown=7\r\n");
  MainForm->LoadSettings();
  EXPECT_EQ(MainForm->Width(), 300) << "the hand-added width is used";
  EXPECT_EQ(MainForm->Left(), 5);
  MainForm->SaveSettings();
  std::string text = ReadFileBytes(Ini()).value_or("");
  EXPECT_EQ(text.find("Width=300"), std::string::npos);
  EXPECT_EQ(text.find("[Mine]"), std::string::npos);
  EXPECT_EQ(text.find("Unknown"), std::string::npos);
  EXPECT_EQ(text.find("my notes"), std::string::npos);
  EXPECT_EQ(text.rfind("[MainForm]\r\nLeft=5\r\nTop=0\r\nActivePage=0\r\n\r\n", 0), 0u);
}

TEST_F(SettingsTest, HashTypeTakesTheLowByteOfTheValue) {
  struct Case {
    const char* value;
    THashType before;
    THashType after;
  };
  using enum THashType;
  const Case cases[] = {{"2", CRC32, MD5},   {"4", CRC32, CRC32},  {"0x1", MD5, CRC32},  {"$0", CRC32, CRC16},
                        {"258", CRC32, MD5}, {"-255", MD5, CRC32}, {"3", CRC16, SHA256}, {"md5", CRC16, CRC16},
                        {" +2", CRC32, MD5}, {"0X2", CRC16, MD5},  {"259", MD5, SHA256}, {"5", SHA256, BLAKE3},
                        {"6", CRC16, CRC16}, {"261", MD5, BLAKE3}, {"10", MD5, MD5},     {"3", BLAKE3, SHA256}};
  for (const Case& c : cases) {
    MainForm->SetHashType(c.before);
    LoadPreferences(std::string("HashType=") + c.value + "\r\n");
    EXPECT_EQ(MainForm->GetHashType(), c.after) << "HashType=" << c.value;
  }
}

TEST_F(SettingsTest, BooleansAreAnyNonZeroInteger) {
  struct Case {
    const char* value;
    bool before;
    bool after;
  };
  const Case cases[] = {{"1", false, true},    {"0", true, false},    {"5", false, true},
                        {"-1", false, true},   {"0x10", false, true}, {"$0", true, false},
                        {"yes", false, false}, {"yes", true, true},   {"", true, true}};
  for (const Case& c : cases) {
    MainForm->AutoSaveCloseCheckBox.SetChecked(c.before);
    LoadPreferences(std::string("AutoSaveClose=") + c.value + "\r\n");
    EXPECT_EQ(MainForm->AutoSaveCloseCheckBox.Checked(), c.after) << "AutoSaveClose=" << c.value;
  }
}

TEST_F(SettingsTest, ActivePageOutsideTheTabsSelectsNone) {
  const std::pair<const char*, int> cases[] = {{"1", 1}, {"0", 0}, {"2", -1}, {"-1", -1}, {"x", 0}};
  for (auto [value, expected] : cases) {
    MainForm->PageControl.SetActivePageIndex(0);
    WriteIni(std::string("[MainForm]\r\nActivePage=") + value + "\r\n");
    MainForm->LoadSettings();
    EXPECT_EQ(MainForm->PageControl.ActivePageIndex(), expected) << "ActivePage=" << value;
  }
}

TEST_F(SettingsTest, TabWidthOutsideSixteenBitsIsIgnored) {
  const std::pair<const char*, int> cases[] = {{"40", 40}, {"32767", 32767}, {"0", 0},
                                               {"-5", 0},  {"32768", 0},     {"99999999", 0}};
  for (auto [value, expected] : cases) {
    CompareForm->ComparePageControl.SetTabWidth(0);
    CalcForm->CalcPageControl.SetTabWidth(0);
    WriteIni(std::string("[CompareForm]\r\nTabWidth=") + value + "\r\n[CalcForm]\r\nTabWidth=" + value + "\r\n");
    MainForm->LoadSettings();
    EXPECT_EQ(CompareForm->ComparePageControl.TabWidth(), expected) << "TabWidth=" << value;
    EXPECT_EQ(CalcForm->CalcPageControl.TabWidth(), expected) << "TabWidth=" << value;
  }
}

// A position that puts a window out of sight (a monitor that is gone, a hand-edited file) brings
// it back onto the work area, by the least move and with its size kept; the file written next
// holds where the window really is.
TEST_F(SettingsTest, WindowsOutOfSightComeBackIntoTheWorkArea) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor));
  if (GetSystemMetrics(SM_CMONITORS) != 1) GTEST_SKIP() << "the expected places assume one monitor";
  const RECT work = monitor.rcWork;
  struct Case {
    const char* name;
    long left, top, width, height;
    long expectedLeft, expectedTop;
  };
  const Case cases[] = {
      {"inside stays", 100, 110, 500, 400, 100, 110},
      {"off to the right and above", 999999, -999999, 500, 400, work.right - 500, work.top},
      {"off to the left and below", -999999, 999999, 500, 400, work.left, work.bottom - 400},
      {"partly off", work.right - 100, 110, 500, 400, work.right - 500, 110},
      // Just larger: the system itself caps a window's size a little beyond the screen's.
      {"larger than the work area", 300, 300, work.right - work.left + 1, work.bottom - work.top + 1, work.left,
       work.top},
  };
  const SIZE mainSize{MainForm->Width(), MainForm->Height()};
  const std::pair<const char*, ui::Form*> windows[] = {
      {"MainForm", MainForm}, {"CompareForm", CompareForm}, {"CalcForm", CalcForm}, {"CalcViewForm", CalcViewForm}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string ini;
    for (const auto& [section, window] : windows) {
      ini += std::string("[") + section + "]\r\nLeft=" + std::to_string(c.left) + "\r\nTop=" + std::to_string(c.top) +
             "\r\nWidth=" + std::to_string(c.width) + "\r\nHeight=" + std::to_string(c.height) + "\r\n";
    }
    WriteIni(ini);
    MainForm->LoadSettings();
    MainForm->SaveSettings();
    const std::string written = ReadFileBytes(Ini()).value_or("");
    for (const auto& [section, window] : windows) {
      SCOPED_TRACE(section);
      RECT bounds{};
      ASSERT_TRUE(GetWindowRect(window->Handle(), &bounds));
      EXPECT_EQ(bounds.left, c.expectedLeft);
      EXPECT_EQ(bounds.top, c.expectedTop);
      EXPECT_EQ(bounds.right - bounds.left, c.width) << "the size is kept";
      EXPECT_EQ(bounds.bottom - bounds.top, c.height) << "the size is kept";
      const std::string place = std::string("[") + section + "]\r\nLeft=" + std::to_string(c.expectedLeft) +
                                "\r\nTop=" + std::to_string(c.expectedTop) + "\r\n";
      EXPECT_NE(written.find(place), std::string::npos) << written;
    }
  }
  MainForm->SetBounds(0, 0, mainSize.cx, mainSize.cy);
}

TEST_F(SettingsTest, DefaultExtensionsAreTakenAsWritten) {
  LoadPreferences("DefaultExtCRC= .s f v \r\nDefaultExtMD5=\r\nDefaultExtSHA256= s h a \r\n");
  EXPECT_EQ(MainForm->DefaultExtCRCEdit.Text(), ".s f v") << "only the surrounding blanks go";
  EXPECT_EQ(MainForm->DefaultExtMD5Edit.Text(), "");
  EXPECT_EQ(MainForm->DefaultExtSHA256, "s h a");
}

TEST_F(SettingsTest, StayOnTopAndIdlePriorityApplyAtLoad) {
  LoadPreferences("StayOnTop=1\r\nIdlePriority=1\r\n");
  ui::Form* const windows[] = {MainForm, CompareForm, CalcForm, CalcViewForm};
  for (ui::Form* window : windows) {
    EXPECT_FALSE(window->Visible());
    EXPECT_TRUE(Topmost(*window)) << "on top before any window is shown";
  }
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(IDLE_PRIORITY_CLASS));

  // Off in the file: the normal class is set explicitly.
  LoadPreferences("StayOnTop=0\r\nIdlePriority=0\r\n");
  for (ui::Form* window : windows) EXPECT_FALSE(Topmost(*window));
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
}

TEST_F(SettingsTest, UnwritableFileLeavesTheOldOneAndDoesNotThrow) {
  const std::string old = "[Preferences]\r\nHashType=2\r\n";
  WriteIni(old);
  ASSERT_TRUE(SetFileAttributesW(W(Ini()).c_str(), FILE_ATTRIBUTE_READONLY));
  MainForm->SetHashType(THashType::CRC16);
  EXPECT_NO_THROW(MainForm->SaveSettings());
  SetFileAttributesW(W(Ini()).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadFileBytes(Ini()), old);
  EXPECT_EQ(FilesIn(folder_.Path()), 1) << "the temporary file is removed again";

  MainForm->SettingsPath = folder_.File("missing folder\\ruvo.ini");
  EXPECT_NO_THROW(MainForm->SaveSettings());
  EXPECT_FALSE(ReadFileBytes(MainForm->SettingsPath));
}

TEST_F(SettingsTest, SettingsFileSitsBesideTheProgram) {
  MainForm->SettingsPath.clear();
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string expected(exe);
  expected = expected.substr(0, expected.rfind('.')) + ".ini";
  std::string iniPath = expected;
  // Save and then remove, so the test leaves the build folder as it was.
  std::optional<std::string> before = ReadFileBytes(iniPath);
  MainForm->SaveSettings();
  EXPECT_TRUE(ReadFileBytes(iniPath));
  if (before) {
    apptest::WriteFileBytes(iniPath, *before);
  } else {
    DeleteFileW(W(iniPath).c_str());
  }
}

}  // namespace
