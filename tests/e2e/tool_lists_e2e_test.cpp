// ruvo.exe verifies the checksum files that other tools wrote: md5sum, sha1sum, sha256sum and
// sha512sum with and without --tag and -b, cksum -a, a list mixing tags, an SFV made by hand and
// a lone digest. The test run makes them with the real tools (make_tool_lists.sh) in the folder
// that RUVO_TEST_TOOL_LISTS names.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "e2e/e2e_support.h"

namespace {

using namespace std::chrono_literals;

std::u8string Utf8(const std::string& ascii) { return std::u8string(ascii.begin(), ascii.end()); }

}  // namespace

TEST(ToolListsE2e, EveryRowOfEveryFormIsCorrect) {
  const char* folder = std::getenv("RUVO_TEST_TOOL_LISTS");
  if (folder == nullptr) GTEST_SKIP() << "RUVO_TEST_TOOL_LISTS names no folder of lists";
  struct Case {
    const char* list;
    const char8_t* summary;
  };
  const Case cases[] = {
      {"gnu.md5", u8"3ファイル (正常 : 3  異常 : 0)"},       {"gnu.sha1", u8"3ファイル (正常 : 3  異常 : 0)"},
      {"gnu.sha256", u8"3ファイル (正常 : 3  異常 : 0)"},    {"gnu.sha512", u8"3ファイル (正常 : 3  異常 : 0)"},
      {"binary.sha256", u8"3ファイル (正常 : 3  異常 : 0)"}, {"tag.md5", u8"3ファイル (正常 : 3  異常 : 0)"},
      {"tag.sha512", u8"3ファイル (正常 : 3  異常 : 0)"},    {"cksum.sha256", u8"3ファイル (正常 : 3  異常 : 0)"},
      {"mixed.tags", u8"3ファイル (正常 : 3  異常 : 0)"},    {"hand.sfv", u8"3ファイル (正常 : 3  異常 : 0)"},
      {"a.txt.sha256", u8"1ファイル (正常 : 1  異常 : 0)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list);
    // A sandbox of its own for each run, as every end-to-end test has.
    const e2e::RuvoSandbox box;
    box.WriteIni("[Preferences]\r\nDoneBeep=0\r\n\r\n");
    const std::string list = std::string(folder) + "\\" + c.list;
    e2e::RuvoProcess ruvo = box.Start("-c \"" + list + "\"");
    const HWND window = ruvo.WaitForWindow(Utf8(list) + u8" - Compare - Ruvo");
    ASSERT_NE(window, nullptr) << "no result caption";
    EXPECT_EQ(e2e::StatusBarText(window, 0), u8"完了");
    EXPECT_EQ(e2e::StatusBarText(window, 1), c.summary);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(ruvo.Wait(30s).finished);
  }
}
