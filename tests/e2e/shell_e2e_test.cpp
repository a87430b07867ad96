// ruvo.exe as a user starts it: the main window, Esc, the settings file it leaves, and the
// command line's hash option that must not reach that file.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "e2e/e2e_support.h"
#include "e2e/settings_text.h"

namespace {

using namespace std::chrono_literals;

// The settings file of a first start whose windows nobody moved: the job windows centred at their
// designed 408 by 327 pixels, the text view 32 pixels further right and lower.
std::string FirstStartSettings() {
  const int left = GetSystemMetrics(SM_CXSCREEN) / 2 - 408 / 2;
  const int top = GetSystemMetrics(SM_CYSCREEN) / 2 - 327 / 2;
  auto job = [](const char* section, int x, int y, bool tabWidth) {
    std::string text = std::string("[") + section + "]\r\nLeft=" + std::to_string(x) + "\r\nTop=" + std::to_string(y) +
                       "\r\nWidth=408\r\nHeight=327\r\n";
    if (tabWidth) text += "TabWidth=0\r\n";
    return text + "\r\n";
  };
  return "[MainForm]\r\nLeft=0\r\nTop=0\r\nActivePage=0\r\n\r\n" + job("CompareForm", left, top, true) +
         job("CalcForm", left, top, true) + job("CalcViewForm", left + 32, top + 32, false) + FirstStartPreferences();
}

// Starts ruvo.exe, waits for its main window, presses Esc there and waits for the end.
void RunInteractiveAndPressEsc(const e2e::RuvoSandbox& sandbox, std::string_view arguments) {
  e2e::RuvoProcess ruvo = sandbox.Start(arguments);
  HWND main = ruvo.WaitForWindow(u8"Ruvo 0.14h");
  ASSERT_NE(main, nullptr) << "the main window is shown";
  EXPECT_EQ(ruvo.VisibleWindows().size(), 1u) << "only the main window";
  e2e::PressKey(main, VK_ESCAPE);
  e2e::RunResult result = ruvo.Wait(30s);
  ASSERT_TRUE(result.finished) << "Esc in the main window ends the program";
  EXPECT_EQ(result.exitCode, 0u);
}

TEST(ShellE2E, NoArgumentsShowsTheMainWindowAndEscWritesEveryKey) {
  e2e::RuvoSandbox sandbox;
  RunInteractiveAndPressEsc(sandbox, "");
  EXPECT_EQ(sandbox.ReadIni(), FirstStartSettings());
}

TEST(ShellE2E, OptionsWithoutPathOnlyShowTheMainWindow) {
  e2e::RuvoSandbox sandbox;
  RunInteractiveAndPressEsc(sandbox, "-tm -c");
  EXPECT_EQ(sandbox.ReadIni(), FirstStartSettings()) << "the options changed nothing";
}

TEST(ShellE2E, EveryStoredValueSurvivesARun) {
  e2e::RuvoSandbox sandbox;
  const std::string stored =
      "[MainForm]\r\nLeft=10\r\nTop=20\r\nActivePage=1\r\n\r\n"
      "[CompareForm]\r\nLeft=30\r\nTop=40\r\nWidth=500\r\nHeight=400\r\nTabWidth=64\r\n\r\n"
      "[CalcForm]\r\nLeft=50\r\nTop=60\r\nWidth=520\r\nHeight=420\r\nTabWidth=72\r\n\r\n"
      "[CalcViewForm]\r\nLeft=70\r\nTop=80\r\nWidth=540\r\nHeight=440\r\n\r\n"
      "[Preferences]\r\n"
      "HashType=5\r\n"  // BLAKE3
      "AutoSaveDir=1\r\n"
      "AutoSaveFile=1\r\n"
      "AutoSaveForceOverwrite=1\r\n"
      "AutoSaveClose=1\r\n"
      "DirList=0\r\n"
      "DirRecursive=1\r\n"
      "ShowProcess=0\r\n"
      "DoneBeep=0\r\n"
      "StayOnTop=1\r\n"
      "IdlePriority=1\r\n"
      "MD5BinaryMode=1\r\n"
      "UpperCRC=0\r\n"
      "UpperMD5=1\r\n"
      "DefaultExtCRC=sfv\r\n"
      "DefaultExtMD5=\x95\x5c\r\n"  // 表, trail byte 0x5C
      "DefaultExtSHA256=sha2\r\n"
      "CompareUnlisted=1\r\n"
      "HashThreads=3\r\n"
      "DefaultExtBLAKE3=blake3\r\n"
      "\r\n";
  sandbox.WriteIni(stored);
  RunInteractiveAndPressEsc(sandbox, "");
  EXPECT_EQ(sandbox.ReadIni(), stored);
}

// Positions out of every screen (a monitor that is gone, a hand-edited file): the windows open
// inside the work area and the file keeps where they opened.
TEST(ShellE2E, WindowsOutOfSightOpenOnTheScreen) {
  e2e::RuvoSandbox sandbox;
  sandbox.WriteIni(
      "[MainForm]\r\nLeft=999999\r\nTop=-999999\r\n"
      "[CompareForm]\r\nLeft=-999999\r\nTop=999999\r\nWidth=408\r\nHeight=327\r\n");
  e2e::RuvoProcess ruvo = sandbox.Start();
  const HWND main = ruvo.WaitForWindow(u8"Ruvo 0.14h");
  ASSERT_NE(main, nullptr);
  RECT bounds{};
  ASSERT_TRUE(GetWindowRect(main, &bounds));
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(main, MONITOR_DEFAULTTONULL), &monitor)) << "on no monitor";
  const RECT work = monitor.rcWork;
  EXPECT_EQ(bounds.right, work.right) << "moved in from the right, no further";
  EXPECT_EQ(bounds.top, work.top);
  EXPECT_GE(bounds.left, work.left);
  EXPECT_LE(bounds.bottom, work.bottom);
  e2e::PressKey(main, VK_ESCAPE);
  ASSERT_TRUE(ruvo.Wait(30s).finished);

  const std::string ini = sandbox.ReadIni().value_or("");
  const std::string mainPlace =
      "[MainForm]\r\nLeft=" + std::to_string(bounds.left) + "\r\nTop=" + std::to_string(bounds.top) + "\r\n";
  const std::string comparePlace = "[CompareForm]\r\nLeft=" + std::to_string(work.left) +
                                   "\r\nTop=" + std::to_string(work.bottom - 327) + "\r\nWidth=408\r\n";
  EXPECT_EQ(ini.rfind(mainPlace, 0), 0u) << ini;
  EXPECT_NE(ini.find(comparePlace), std::string::npos) << ini;
}

TEST(ShellE2E, CreationHashOptionDoesNotReachTheSettings) {
  e2e::RuvoSandbox sandbox;
  sandbox.WriteFile("data\\a.txt", "123456789");
  // Saved and closed automatically, so the run ends the program by itself.
  sandbox.WriteIni("[Preferences]\r\nHashType=2\r\nAutoSaveFile=1\r\nAutoSaveClose=1\r\nDoneBeep=0\r\n");
  e2e::RunResult result = sandbox.Run("-t1 \"" + sandbox.Path("data\\a.txt") + "\"", 60s);
  ASSERT_TRUE(result.finished) << "the run saves, closes its window and ends the program";
  std::string ini = sandbox.ReadIni().value_or("");
  EXPECT_NE(ini.find("\r\nHashType=2\r\n"), std::string::npos) << ini;
  std::string list = sandbox.ReadFile("data\\a.crc").value_or("");
  EXPECT_NE(list.find("CRC"), std::string::npos) << "the list was made with CRC16: " << list;
}

TEST(ShellE2E, VerificationOfNoListEndsTheProgramAndWritesTheSettings) {
  e2e::RuvoSandbox sandbox;
  sandbox.WriteFile("not a list.txt", "hello\r\n");
  e2e::RunResult result = sandbox.Run("-c \"" + sandbox.Path("not a list.txt") + "\"", 60s);
  ASSERT_TRUE(result.finished) << "no page opened: the window closes itself and the program ends";
  EXPECT_EQ(sandbox.ReadIni(), FirstStartSettings());
}

}  // namespace

namespace {

// Started with no standard output and no console (a shortcut, Explorer), "-h" has nowhere to write
// but a message box; it shows the usage there and ends with 0 when the box is closed.
TEST(ShellE2E, UsageWithoutAnyOutputInAMessageBox) {
  e2e::RuvoSandbox sandbox;
  e2e::RuvoProcess ruvo = sandbox.StartWithoutOutput("-h");
  const HWND box = ruvo.WaitForWindow(u8"Ruvo");
  ASSERT_NE(box, nullptr) << "a message box";
  wchar_t text[4096] = {};
  const HWND message = FindWindowExW(box, nullptr, L"Static", nullptr);
  HWND label = message;
  // The box's text is its second static control (the first holds the icon).
  while (label != nullptr && GetWindowTextLengthW(label) == 0) label = FindWindowExW(box, label, L"Static", nullptr);
  ASSERT_NE(label, nullptr);
  GetWindowTextW(label, text, static_cast<int>(std::size(text)));
  EXPECT_NE(std::wstring(text).find(L"-register"), std::wstring::npos);
  EXPECT_NE(std::wstring(text).find(L"ruvo.ini"), std::wstring::npos);
  e2e::PressKey(box, VK_RETURN);
  const e2e::RunResult result = ruvo.Wait(30s);
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_FALSE(sandbox.ReadIni().has_value()) << "nothing ran, nothing to keep";
}

}  // namespace
