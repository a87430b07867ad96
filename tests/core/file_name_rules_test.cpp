#include "core/file_name_rules.h"

#include <gtest/gtest.h>

#include <string>

TEST(IsUsablePath, WhatCanNameAFile) {
  using namespace std::string_literals;
  struct Case {
    std::string path;
    bool usable;
  };
  const Case cases[] = {
      {"C:\\folder\\a.txt", true},
      {"a.txt", true},
      {"..\\sub\\b c.txt", true},
      {"\\\\server\\share\\a.txt", true},
      {"\\\\?\\C:\\long\\a.txt", true},
      {"\\\\?\\UNC\\server\\share\\a.txt", true},
      {"C:\\\xE8\xA1\xA8\\\xF0\x9F\x98\x80.txt", true},  // 表, an emoji
      {"C:/folder/a.txt", true},
      {"C:\\a.txt\0junk"s, false},
      {"C:\\a\x01.txt", false},
      {"C:\\a\t.txt", false},
      {"C:\\a.txt\xFF", false},      // a byte that was no character
      {"C:\\a\xE8\xA1.txt", false},  // a cut UTF-8 sequence
      {"C:\\a?.txt", false},
      {"C:\\a*.txt", false},
      {"C:\\a<b>.txt", false},
      {"C:\\a\"b.txt", false},
      {"C:\\a|b.txt", false},
      {"C:\\a.txt:stream", false},
      {"a:b", true},  // "b" in the current folder of drive A:
      {"ab:c", false},
      {"1:\\a.txt", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsUsablePath(c.path), c.usable) << c.path;
}

TEST(NamesReservedDevice, EveryFolderHasThem) {
  struct Case {
    const char* path;
    bool device;
  };
  const Case cases[] = {
      {"CON", true},
      {"nul", true},
      {"C:\\any\\folder\\NUL.txt", true},
      {"C:\\x\\com1", true},
      {"COM9.tar.gz", true},
      {"\\\\.\\COM1", true},
      {"lpt0", true},
      {"C:\\x\\aux .txt", true},
      {"COM\xC2\xB9", true},  // COM¹
      {"conin$", true},
      {"CONOUT$.log", true},
      {"C:\\x\\console", false},
      {"C:\\x\\com10", false},
      {"C:\\x\\com", false},
      {"C:\\x\\nul2.txt", false},
      {"C:\\x\\a.con", false},
      {"C:\\nul\\a.txt", false},  // a folder of that name is not where the device is
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(NamesReservedDevice(c.path), c.device) << c.path;
}
