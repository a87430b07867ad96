#include "ui/text.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  const char8_t* utf8;
  const char* ansi;  // code page 932
  const wchar_t* wide;
};

const Case kCases[] = {
    {u8"", "", L""},
    {u8"crc", "crc", L"crc"},
    {u8"表.txt", "\x95\x5c.txt", L"\u8868.txt"},                      // 表: trail byte 0x5C
    {u8"処理中", "\x8f\x88\x97\x9d\x92\x86", L"\u51e6\u7406\u4e2d"},  // 処 理 中
    {u8"ＭＳ Ｐゴシック", "\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e",
     L"\uff2d\uff33 \uff30\u30b4\u30b7\u30c3\u30af"},  // Ｍ Ｓ space Ｐ ゴ シ ッ ク
    {u8"ｱ", "\xb1", L"\uff71"},                        // half-width katakana ｱ: one byte
};

TEST(Text, ConvertsBetweenTheThreeEncodings) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.ansi);
    EXPECT_EQ(ui::Wide(c.utf8), c.wide);
    EXPECT_EQ(ui::WideFromAnsi(c.ansi), c.wide);
    EXPECT_EQ(ui::AnsiFromWide(c.wide), c.ansi);
    EXPECT_EQ(ui::Ansi(c.utf8), c.ansi);
    EXPECT_EQ(ui::Utf8FromWide(c.wide), c.utf8);
  }
}

TEST(Text, TextArgPicksTheConversionByType) {
  EXPECT_EQ(ui::TextArg(u8"表").Value(), L"\u8868");
  EXPECT_EQ(ui::TextArg("\x95\x5c").Value(), L"\u8868");  // 表 as ANSI bytes
  EXPECT_EQ(ui::TextArg(std::string("\x95\x5c")).Value(), L"\u8868");
  EXPECT_EQ(ui::TextArg(L"\u8868").Value(), L"\u8868");
}

TEST(Text, EmbeddedZeroBytesSurvive) {
  const std::string ansi("a\0b", 3);
  EXPECT_EQ(ui::AnsiFromWide(ui::WideFromAnsi(ansi)), ansi);
}

}  // namespace
