// The conversions to and from the ANSI code page (932 here) and the long-path form.
#include "win/unicode.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "win/file_path.h"

namespace {

struct AnsiCase {
  const char8_t* utf8;
  std::optional<std::string> ansi;  // code page 932; nullopt: no code there
};

TEST(Unicode, AnsiOnlyWithoutLoss) {
  if (GetACP() != 932) GTEST_SKIP() << "the system code page is " << GetACP() << ", not Shift-JIS";
  const AnsiCase cases[] = {
      {u8"", ""},
      {u8"crc", "crc"},
      {u8"表.txt", "\x95\x5c.txt"},                                      // 表: trail byte 0x5C
      {u8"ソ", "\x83\x5c"},                                              // ソ: trail byte 0x5C
      {u8"処理中", "\x8f\x88\x97\x9d\x92\x86"},                          // 処 理 中
      {u8"ｱ", "\xb1"},                                                   // half-width katakana: one byte
      {u8"café", std::nullopt},                                          // é would become a best-fit e
      {u8"한국", std::nullopt},                                          // Korean
      {u8"Привет", "\x84\x50\x84\x82\x84\x79\x84\x72\x84\x75\x84\x84"},  // Cyrillic is in 932
      {u8"😀", std::nullopt},                                             // emoji (surrogate pair)
  };
  for (const AnsiCase& c : cases) {
    const std::string utf8(c.utf8, c.utf8 + std::char_traits<char8_t>::length(c.utf8));
    SCOPED_TRACE(utf8);
    EXPECT_EQ(win::AnsiFromUtf8Exact(utf8), c.ansi);
    if (c.ansi) {
      EXPECT_EQ(win::Utf8FromAnsi(*c.ansi), utf8);
    }
  }
}

TEST(Unicode, LoneSurrogatesBecomeReplacementCharacters) {
  EXPECT_EQ(win::Utf8FromWide(std::wstring(L"a") + wchar_t(0xD800) + L"b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(win::WideFromUtf8("\xE8\xA1\xA8"), L"\u8868");
}

TEST(FileSystemPath, LongPathsTakeTheExtendedForm) {
  const std::string longName(300, 'x');
  struct Case {
    std::string path;
    std::wstring expected;
  };
  const Case cases[] = {
      {"C:\\short\\a.txt", L"C:\\short\\a.txt"},
      {"C:\\" + longName, L"\\\\?\\C:\\" + std::wstring(300, L'x')},
      {"C:\\a\\..\\" + longName, L"\\\\?\\C:\\" + std::wstring(300, L'x')},  // resolved first
      {"\\\\server\\share\\" + longName, L"\\\\?\\UNC\\server\\share\\" + std::wstring(300, L'x')},
      {"\\\\?\\C:\\" + longName, L"\\\\?\\C:\\" + std::wstring(300, L'x')},  // already extended
  };
  for (const Case& c : cases) EXPECT_EQ(win::FileSystemPath(c.path), c.expected) << c.path;
}

}  // namespace
