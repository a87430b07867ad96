#include "core/relpath.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  const char* base;
  const char* path;
  const char* name;
};

// Shift-JIS: 表 is 0x95 0x5C and ソ is 0x83 0x5C; their trail byte has the value of "\".
const Case kCases[] = {
    {"C:\\data", "C:\\data\\a.txt", "a.txt"},
    {"C:\\data\\", "C:\\data\\a.txt", "a.txt"},
    {"C:\\data", "C:\\data\\sub\\b.txt", "sub\\b.txt"},
    {"C:\\data", "C:\\other\\c.txt", "..\\other\\c.txt"},
    {"C:\\data", "D:\\x\\d.txt", "D:\\x\\d.txt"},
    {"C:\\data", "c:\\DATA\\e.txt", "e.txt"},  // drive and folders ignore case
    {"C:\\data\\sub", "C:\\data\\f.txt", "..\\f.txt"},
    {"C:\\data\\sub\\deep", "C:\\x\\y\\g.txt", "..\\..\\..\\x\\y\\g.txt"},
    {"C:\\data", "C:\\g.txt", "..\\g.txt"},
    {"C:\\data", "C:\\database\\h.txt", "..\\database\\h.txt"},  // a prefix is no common folder
    {"C:", "C:\\x\\a.txt", "x\\a.txt"},                          // drive root given without "\"
    {"C:\\", "C:\\a.txt", "a.txt"},
    {"\\\\srv\\share\\data", "\\\\SRV\\Share\\data\\a.txt", "a.txt"},
    {"\\\\srv\\share\\data", "\\\\srv\\other\\data\\a.txt", "\\\\srv\\other\\data\\a.txt"},
    {"\\\\srv\\share", "C:\\a.txt", "C:\\a.txt"},
    {"C:\\\x95\x5c", "C:\\\x95\x5c\\\x83\x5c.txt", "\x83\x5c.txt"},        // base C:\表, file ソ.txt
    {"C:\\\x95\x5c", "C:\\\x83\x5c\\a.txt", "..\\\x83\x5c\\a.txt"},        // C:\表 vs C:\ソ\a.txt
    {"C:\\\x83\x5c", "C:\\\x83\x5c\\\x95\x5c\\a.txt", "\x95\x5c\\a.txt"},  // C:\ソ vs C:\ソ\表\a.txt
    // 0x83 0x61 and 0x83 0x41 are different katakana (チ, ア): their trail bytes are not folded.
    {"C:\\\x83\x61", "C:\\\x83\x41\\a.txt", "..\\\x83\x41\\a.txt"},
};

TEST(RelativeName, FollowsTheListNameRule) {
  for (const auto& c : kCases) {
    EXPECT_EQ(RelativeName(c.base, c.path, IsShiftJisLeadByte), c.name) << c.base << " | " << c.path;
  }
}

TEST(RelativeName, SameTextIgnoresOnlyAsciiCase) {
  EXPECT_TRUE(SameTextIgnoringAsciiCase("Data", "dATA", IsShiftJisLeadByte));
  EXPECT_FALSE(SameTextIgnoringAsciiCase("Data", "Dat", IsShiftJisLeadByte));
  EXPECT_FALSE(SameTextIgnoringAsciiCase("\x83\x61", "\x83\x41", IsShiftJisLeadByte));  // チ vs ア
  EXPECT_TRUE(SameTextIgnoringAsciiCase("\x83\x61", "\x83\x41", IsNeverLeadByte));      // "?a" vs "?A"
}

}  // namespace
