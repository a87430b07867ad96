#include "core/path.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
  const char* path;
  const char* drive;
  const char* folder;
  const char* name;
};

// Shift-JIS: 表 is 0x95 0x5C and ソ is 0x83 0x5C; their trail byte has the value of "\".
const SplitCase kSplitCases[] = {
    {"C:\\data\\a.txt", "C:", "C:\\data\\", "a.txt"},
    {"c:\\a.txt", "c:", "c:\\", "a.txt"},
    {"C:\\", "C:", "C:\\", ""},
    {"C:", "C:", "C:", ""},
    {"C:a.txt", "C:", "C:", "a.txt"},
    {"C:\\data\\sub\\", "C:", "C:\\data\\sub\\", ""},
    {"a.txt", "", "", "a.txt"},
    {"", "", "", ""},
    {"\\a.txt", "", "\\", "a.txt"},
    {"1:\\x", "", "1:\\", "x"},  // not a drive letter
    {"\\\\server\\share\\dir\\f.txt", "\\\\server\\share", "\\\\server\\share\\dir\\", "f.txt"},
    {"\\\\server\\share", "\\\\server\\share", "\\\\server\\", "share"},
    {"\\\\server", "\\\\server", "\\\\", "server"},
    {"C:\\\x95\x5c", "C:", "C:\\", "\x95\x5c"},                              // C:\表
    {"C:\\\x95\x5c\\\x83\x5c.txt", "C:", "C:\\\x95\x5c\\", "\x83\x5c.txt"},  // C:\表\ソ.txt
    {"\x83\x5c\x83\x5c", "", "", "\x83\x5c\x83\x5c"},                        // ソソ
    {"\\\\\x95\x5c\\s\\f", "\\\\\x95\x5c\\s", "\\\\\x95\x5c\\s\\", "f"},     // \\表\s\f: server 表
    {"C:\\\x95:x", "C:", "C:\\\x95:", "x"},                                  // a stray lead byte does not swallow a ":"
};

TEST(Path, SplitsIntoDriveFolderAndName) {
  for (const auto& c : kSplitCases) {
    EXPECT_EQ(ExtractFileDrive(c.path, IsShiftJisLeadByte), c.drive) << c.path;
    EXPECT_EQ(ExtractFilePath(c.path, IsShiftJisLeadByte), c.folder) << c.path;
    EXPECT_EQ(ExtractFileName(c.path, IsShiftJisLeadByte), c.name) << c.path;
  }
}

TEST(Path, SingleByteCodePageSplitsAtEveryBackslash) {
  EXPECT_EQ(ExtractFileName("C:\\\x95\x5c", IsNeverLeadByte), "");
  EXPECT_EQ(ExtractFilePath("C:\\\x95\x5c", IsNeverLeadByte), "C:\\\x95\x5c");
}

struct TrailingCase {
  const char* path;
  const char* excluded;
  const char* included;
};

const TrailingCase kTrailingCases[] = {
    {"C:\\data\\", "C:\\data", "C:\\data\\"},
    {"C:\\data", "C:\\data", "C:\\data\\"},
    {"C:\\", "C:", "C:\\"},
    {"C:", "C:", "C:\\"},
    {"", "", "\\"},
    {"\\", "", "\\"},
    {"C:\\data\\\\", "C:\\data\\", "C:\\data\\\\"},        // only one delimiter comes off
    {"C:\\\x95\x5c", "C:\\\x95\x5c", "C:\\\x95\x5c\\"},    // C:\表: its 0x5C stays
    {"C:\\\x95\x5c\\", "C:\\\x95\x5c", "C:\\\x95\x5c\\"},  // C:\表\ .
    {"\x83\x5c", "\x83\x5c", "\x83\x5c\\"},                // ソ
};

TEST(Path, TrailingDelimiters) {
  for (const auto& c : kTrailingCases) {
    EXPECT_EQ(ExcludeTrailingPathDelimiter(c.path, IsShiftJisLeadByte), c.excluded) << c.path;
    EXPECT_EQ(IncludeTrailingPathDelimiter(c.path, IsShiftJisLeadByte), c.included) << c.path;
  }
}

TEST(Path, RemovesTheExtensionOfTheLastComponent) {
  struct Case {
    const char* name;
    const char* stem;
  };
  const Case cases[] = {
      {"album.crc", "album"},
      {"a.tar.gz", "a.tar"},
      {"noext", "noext"},
      {"C:\\dir.x\\file", "C:\\dir.x\\file"},  // the dot belongs to a folder
      {"C:\\dir.x\\file.md5", "C:\\dir.x\\file"},
      {".hidden", ""},
      {"trailing.", "trailing"},
      {"", ""},
      {"\x95\x5c.txt", "\x95\x5c"},  // 表.txt
      {"\x83\x5c", "\x83\x5c"},      // ソ
  };
  for (const auto& c : cases) EXPECT_EQ(RemoveFileExtension(c.name, IsShiftJisLeadByte), c.stem) << c.name;
}

}  // namespace
