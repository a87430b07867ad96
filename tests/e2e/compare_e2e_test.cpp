// ruvo.exe started with "-c" and checksum lists: it verifies them and stays open with the
// results until its window is closed; a path that is no list ends the program by itself.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "e2e/e2e_support.h"

namespace {

using namespace std::chrono_literals;

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::u8string Utf8(const std::string& ascii) { return std::u8string(ascii.begin(), ascii.end()); }

// A CRC32 list of the two files every test has, beside them in "data".
const char kAllCrc[] =
    "Name       CRC32     Bytes\r\n"
    "---------  --------  -----\r\n"
    "a.txt      352441C2      3\r\n"
    "sub\\n.txt  cbf43926      9\r\n"
    "--------------------------\r\n"
    "Total  2 Files  12 Bytes\r\n";

class CompareE2eTest : public testing::Test {
 protected:
  void SetUp() override {
    box_.WriteFile("data\\a.txt", "abc");
    box_.WriteFile("data\\sub\\n.txt", "123456789");
    box_.WriteIni("[Preferences]\r\nDoneBeep=0\r\n\r\n");
  }

  e2e::RuvoSandbox box_;
};

TEST_F(CompareE2eTest, VerifiedListStaysOpenUntilItsWindowIsClosed) {
  box_.WriteFile("data\\all.crc", kAllCrc);
  box_.WriteFile("data\\all.md5",
                 "900150983cd24fb0d6963f7d28e17f72 a.txt\r\n"
                 "25f9e794323b453885f5181f1b624d0b *sub\\n.txt\r\n");
  e2e::RuvoProcess ruvo =
      box_.Start("-c " + Quoted(box_.Path("data\\all.md5")) + " " + Quoted(box_.Path("data\\all.crc")));
  // Both lists verified, in name order; the last one's tab is active and names the window.
  const HWND window = ruvo.WaitForWindow(Utf8(box_.Path("data\\all.md5")) + u8" - Compare - Ruvo");
  ASSERT_NE(window, nullptr) << "no result caption";
  EXPECT_TRUE(ruvo.Running());
  // The main window never shows in a command-line run.
  EXPECT_EQ(ruvo.VisibleWindows(), std::vector<HWND>{window});

  PostMessageW(window, WM_CLOSE, 0, 0);
  const e2e::RunResult result = ruvo.Wait(30s);
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0u);
  const std::optional<std::string> ini = box_.ReadIni();
  ASSERT_TRUE(ini.has_value());
  EXPECT_NE(ini->find("[CompareForm]\r\n"), std::string::npos) << *ini;
}

// Started in a sub-folder with the list named relative to it: the list is found, named by its
// full path, and its files are found beside it.
TEST_F(CompareE2eTest, RelativeListPathIsTheListBesideTheWorkingFolder) {
  box_.WriteFile("data\\all.crc", kAllCrc);
  e2e::RuvoProcess ruvo = box_.Start("-c ..\\all.crc", "data\\sub");
  const HWND window = ruvo.WaitForWindow(Utf8(box_.Path("data\\all.crc")) + u8" - Compare - Ruvo");
  ASSERT_NE(window, nullptr) << "no result caption";
  EXPECT_EQ(e2e::StatusBarText(window, 0), u8"完了");
  EXPECT_EQ(e2e::StatusBarText(window, 1), u8"2ファイル (正常 : 2  異常 : 0)");
  PostMessageW(window, WM_CLOSE, 0, 0);
  const e2e::RunResult result = ruvo.Wait(30s);
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0u);
}

// Paths that are no lists: the run says so (a page and the error sound, or a line), ends by
// itself and tells a script by its exit code.
TEST_F(CompareE2eTest, PathThatIsNoListEndsTheProgramWithExitCode2) {
  box_.WriteFile("data\\notes.txt", "Name of the file: notes\r\n");
  const std::string paths = Quoted(box_.Path("data\\notes.txt")) + " " + Quoted(box_.Path("data\\missing.crc"));
  for (const char* options : {"-c ", "-q -c "}) {
    SCOPED_TRACE(options);
    const e2e::RunResult result = box_.Run(options + paths, 60s);
    EXPECT_TRUE(result.finished) << "the program did not end by itself";
    EXPECT_EQ(result.exitCode, 2u);
  }
  EXPECT_TRUE(box_.ReadIni().has_value());
}

}  // namespace
