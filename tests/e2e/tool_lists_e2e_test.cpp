// ruvo.exe verifies the checksum files that other tools wrote: md5sum, sha1sum, sha256sum and
// sha512sum with and without --tag and -b, cksum -a, a list mixing tags, an SFV made by hand and
// a lone digest. The test run makes them with the real tools (make_tool_lists.sh) in the folder
// that RUVO_TEST_TOOL_LISTS names.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
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

// The same by a script: every row of every list correct, exit code 0; a list whose wrong row
// comes after a blank line fails.
TEST(ToolListsE2e, EveryListInABatchRun) {
  const char* folder = std::getenv("RUVO_TEST_TOOL_LISTS");
  if (folder == nullptr) GTEST_SKIP() << "RUVO_TEST_TOOL_LISTS names no folder of lists";
  struct Case {
    const char* list;
    int files;
    int correct;
  };
  const Case cases[] = {
      {"gnu.md5", 3, 3},       {"gnu.sha1", 3, 3},         {"gnu.sha224", 3, 3},      {"gnu.sha256", 3, 3},
      {"gnu.sha384", 3, 3},    {"gnu.sha512", 3, 3},       {"binary.sha256", 3, 3},   {"B2SUMS", 3, 3},
      {"gnu256.b2", 3, 3},     {"long.sums", 6, 6},        {"tag.md5", 3, 3},         {"tag.sha512", 3, 3},
      {"tag.b2", 3, 3},        {"cksum.sha224", 3, 3},     {"cksum.sha256", 3, 3},    {"cksum.sha384", 3, 3},
      {"cksum.blake2b", 3, 3}, {"cksum256.blake2b", 3, 3}, {"untagged.sha512", 3, 3}, {"mixed.tags", 3, 3},
      {"blanks.md5", 3, 3},    {"crcrlf.sha256", 3, 3},    {"signed.sha256", 3, 3},   {"openssl.txt", 6, 6},
      {"rhash.bsd", 6, 6},     {"hand.sfv", 3, 3},         {"crcfirst.txt", 3, 3},    {"a.txt.crc32", 1, 1},
      {"a.txt.sha256", 1, 1},  {"late-bad.md5", 2, 1},     {"B3SUMS", 3, 3},          {"gnu.b3", 3, 3},
      {"blake3.tags", 3, 3},
  };
  const e2e::RuvoSandbox box;
  box.WriteIni("[Preferences]\r\nDoneBeep=0\r\n\r\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list);
    const std::string list = std::string(folder) + "\\" + c.list;
    const e2e::CapturedRun run = box.RunCaptured("-q -c \"" + list + "\"");
    ASSERT_TRUE(run.result.finished);
    EXPECT_EQ(run.result.exitCode, c.files == c.correct ? 0u : 1u) << run.output;
    // One line per row that is not correct, then the list's summary, which begins with its count.
    const auto lines = std::count(run.output.begin(), run.output.end(), '\n');
    EXPECT_EQ(lines, 1 + c.files - c.correct) << run.output;
    EXPECT_NE(run.output.find(list + "\t" + std::to_string(c.files)), std::string::npos) << run.output;
  }
}

// A download given by name to a script is verified against the list beside it that names it:
// exit 0 when it matches, 1 when it does not, the list's path in the summary line.
TEST(ToolListsE2e, ADownloadAgainstTheListBesideIt) {
  const char* folder = std::getenv("RUVO_TEST_TOOL_LISTS");
  if (folder == nullptr) GTEST_SKIP() << "RUVO_TEST_TOOL_LISTS names no folder of lists";
  struct Case {
    const char* file;
    const char* list;
    unsigned exitCode;
  };
  const Case cases[] = {{"setup.zip", "setup.zip.md5", 0}, {"broken.zip", "SHA256SUMS", 1}};
  const e2e::RuvoSandbox box;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string download = std::string(folder) + "\\download\\";
    const e2e::CapturedRun run = box.RunCaptured("-q -c \"" + download + c.file + "\"");
    ASSERT_TRUE(run.result.finished);
    EXPECT_EQ(run.result.exitCode, c.exitCode) << run.output;
    EXPECT_NE(run.output.find(download + c.list + "\t1"), std::string::npos) << run.output;
  }
}
