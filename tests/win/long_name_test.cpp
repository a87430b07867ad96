#include "win/long_name.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "core/hex.h"
#include "core/path.h"
#include "support/scratch_folder.h"
#include "win/file.h"
#include "win/folder.h"
#include "win/user_locale.h"

using namespace win;

namespace {

std::string ShortPathName(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD length = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

class LongFileNameTest : public testing::Test {
 protected:
  ScratchFolder folder_;
};

TEST_F(LongFileNameTest, ShortNamesBecomeLong) {
  const std::string longFolder = folder_.AddFolder("Long Folder Name");
  const std::string longFile = folder_.AddFile("Long Folder Name\\Long File Name.txt", "x");
  const std::string shortFolder = ShortPathName(longFolder);
  const std::string shortFile = ShortPathName(longFile);
  if (shortFolder.empty() || ExtractFileName(shortFolder, IsNeverLeadByte) == "Long Folder Name" ||
      ExtractFileName(shortFile, IsNeverLeadByte) == "Long File Name.txt") {
    GTEST_SKIP() << "this file system gives no short names";
  }
  EXPECT_EQ(LongFileName(shortFolder), longFolder + "\\");
  EXPECT_EQ(LongFileName(shortFolder + "\\"), longFolder + "\\");
  EXPECT_EQ(LongFileName(shortFile), longFile);
  // Short names and letter case together; the drive keeps the case it was given.
  std::string expected = longFile;
  expected[0] = 'c';
  EXPECT_EQ(LongFileName(AsciiLower(shortFile)), expected);
}

TEST_F(LongFileNameTest, StoredNamesAndDelimiters) {
  folder_.AddFolder("SubDir");
  folder_.AddFile("SubDir\\MixedCase.TXT");
  folder_.AddFile("wild1.txt");
  folder_.AddFolder("\xE8\xA1\xA8");                  // 表
  folder_.AddFile("\xE8\xA1\xA8\\\xE3\x82\xBD.txt");  // 表\ソ.txt
  folder_.AddFile("\xE3\x82\xBD.txt");                // ソ.txt
  const std::string& f = folder_.Path();
  const std::string lower = AsciiLower(f);
  struct Case {
    std::string path;
    std::string expected;
  };
  const Case cases[] = {
      {f + "subdir\\mixedcase.txt", f + "SubDir\\MixedCase.TXT"},                                     // case from disk
      {lower + "subdir\\mixedcase.txt", lower.substr(0, 2) + f.substr(2) + "SubDir\\MixedCase.TXT"},  // drive as passed
      {f + "subdir", f + "SubDir\\"},  // folder gains "\"
      {f + "SUBDIR\\", f + "SubDir\\"},
      {f + "subdir\\none.txt", f + "SubDir\\none.txt\\"},          // missing last component
      {f + "nodir\\deeper\\a.txt", f + "nodir\\deeper\\a.txt\\"},  // missing middle component
      {f + "WILD?.TXT", f + "wild1.txt"},                          // wildcard as a pattern
      {f + "subdir\\*.txt", f + "SubDir\\MixedCase.TXT"},
      {f + "\xE8\xA1\xA8\\\xE3\x82\xBD.txt", f + "\xE8\xA1\xA8\\\xE3\x82\xBD.txt"},  // 表\ソ.txt: two components
      {f + "\xE8\xA1\xA8", f + "\xE8\xA1\xA8\\"},                                    // 表, a folder
      {f + "\xE3\x82\xBD.TXT", f + "\xE3\x82\xBD.txt"},                              // ソ.TXT
  };
  for (const auto& c : cases) EXPECT_EQ(LongFileName(c.path), c.expected) << c.path;
}

TEST(LongFileName, RootsNetworkPathsAndEmpty) {
  struct Case {
    const char* path;
    const char* expected;
  };
  const Case cases[] = {
      {"C:\\", "C:\\"},
      {"c:\\", "c:\\"},  // the drive keeps its case
      {"C:", "C:"},
      {"", ""},
      {"\\\\server\\share\\progra~1\\x.txt", "\\\\server\\share\\progra~1\\x.txt"},
      {"\\\\?\\C:\\windows", "\\\\?\\C:\\windows"},
      {"Q:\\missing\\x.txt", "Q:\\missing\\x.txt\\"},
  };
  for (const auto& c : cases) EXPECT_EQ(LongFileName(c.path), c.expected) << c.path;
}

TEST_F(LongFileNameTest, ExpandLongNamesReplacesEveryLineInOrder) {
  folder_.AddFile("Alpha.txt");
  folder_.AddFolder("Beta");
  std::vector<std::string> empty;
  ExpandLongNames(empty);
  EXPECT_TRUE(empty.empty());

  const std::string& f = folder_.Path();
  std::vector<std::string> list = {f + "beta", f + "alpha.txt", f + "gone", f + "alpha.txt"};
  ExpandLongNames(list);
  const std::vector<std::string> expected = {f + "Beta\\", f + "Alpha.txt", f + "gone\\", f + "Alpha.txt"};
  EXPECT_EQ(list, expected);
}

}  // namespace
