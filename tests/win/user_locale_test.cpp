#include "win/user_locale.h"
#include "support/wide_path.h"
#include "win/file.h"
#include "win/folder.h"

#include <gtest/gtest.h>

#include "core/codepage.h"
#include "support/scratch_folder.h"
#include "ui/text.h"

using namespace win;

namespace {

TEST(Ansi, ThousandsSeparatorOfTheJapaneseLocale) {
  if (PRIMARYLANGID(LANGIDFROMLCID(GetUserDefaultLCID())) != LANG_JAPANESE) {
    GTEST_SKIP() << "the user locale is not Japanese";
  }
  EXPECT_EQ(ThousandsSeparator(), ",");
}

TEST(Ansi, FileAndFolderTests) {
  ScratchFolder scratch;
  const std::string file = scratch.AddFile("a.txt", "x");
  const std::string folder = scratch.AddFolder("sub");
  const std::string sjis = scratch.AddFile("\xE8\xA1\xA8.txt");  // 表.txt, trail byte 0x5C
  struct Case {
    std::string path;
    bool file;
    bool folder;
  };
  const Case cases[] = {
      {file, true, false},
      {sjis, true, false},
      {folder, false, true},
      {folder + "\\", false, true},
      {scratch.Path() + "missing", false, false},
      {scratch.Path() + "*.txt", false, false},
      {"", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileExists(c.path), c.file) << c.path;
    EXPECT_EQ(DirectoryExists(c.path), c.folder) << c.path;
  }
}

TEST(Ansi, ListFolderTakesEveryFileAndOptionallyFolders) {
  ScratchFolder scratch;
  const std::string& f = scratch.Path();
  scratch.AddFile("plain.txt");
  scratch.AddFile("noext");
  SetFileAttributesW(W(scratch.AddFile("hidden.bin")).c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesW(W(scratch.AddFile("system.bin")).c_str(), FILE_ATTRIBUTE_SYSTEM);
  SetFileAttributesW(W(scratch.AddFile("readonly.bin")).c_str(), FILE_ATTRIBUTE_READONLY);
  scratch.AddFolder("child");
  scratch.AddFile("child\\inner.txt");

  FolderListing flat = ListFolder(f, false);
  SortPathsLocale(flat.files);
  const std::vector<std::string> files = {f + "hidden.bin", f + "noext", f + "plain.txt", f + "readonly.bin",
                                          f + "system.bin"};
  EXPECT_EQ(flat.files, files);
  EXPECT_TRUE(flat.folders.empty());

  const FolderListing deep = ListFolder(f, true);
  EXPECT_EQ(deep.files.size(), files.size());
  EXPECT_EQ(deep.folders, std::vector<std::string>{f + "child"});

  const FolderListing missing = ListFolder(f + "nothing\\", true);
  EXPECT_TRUE(missing.files.empty());
  EXPECT_TRUE(missing.folders.empty());
  EXPECT_EQ(missing.error, 0u) << "a folder that is gone holds nothing; that is no failure";
  EXPECT_EQ(flat.error, 0u);
}

TEST(Ansi, SortPathsLocaleIgnoresCase) {
  std::vector<std::string> paths = {"C:\\b.txt", "c:\\A.txt", "C:\\a2.txt", "C:\\C.txt"};
  SortPathsLocale(paths);
  const std::vector<std::string> expected = {"c:\\A.txt", "C:\\a2.txt", "C:\\b.txt", "C:\\C.txt"};
  EXPECT_EQ(paths, expected);
}

// The order must be the one CompareStringW gives, pair by pair, also for punctuation, digits,
// double-byte names, full-width letters and names that differ only in case.
TEST(Ansi, SortPathsLocaleAgreesWithCompareString) {
  std::vector<std::string> paths = {"a-b", "a_b", "ab", "aB", "Ab", "a b", "a.b", "a~b", "a10", "a2",
                                    "a1",  "",    "b",  "B",  "~",  "_",   "-",   "0",   "Z",   "z"};
  for (const char8_t* utf8 : {u8"写真", u8"しゃしん", u8"シャシン", u8"ｼｬｼﾝ", u8"Ａ", u8"ａ", u8"表", u8"ソ"}) {
    paths.push_back(ui::Utf8(utf8));
  }
  SortPathsLocale(paths);
  for (std::size_t i = 1; i < paths.size(); ++i) {
    SCOPED_TRACE(paths[i - 1] + " / " + paths[i]);
    const std::wstring a = ui::WideFromUtf8(paths[i - 1]);
    const std::wstring b = ui::WideFromUtf8(paths[i]);
    EXPECT_NE(CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                             static_cast<int>(b.size())),
              CSTR_GREATER_THAN);
  }
}

}  // namespace
