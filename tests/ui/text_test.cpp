#include "ui/text.h"

#include <gtest/gtest.h>

namespace {

struct Case {
  const char8_t* utf8;
  const wchar_t* wide;
};

const Case kCases[] = {
    {u8"", L""},
    {u8"crc", L"crc"},
    {u8"表.txt", L"\u8868.txt"},
    {u8"ＭＳ Ｐゴシック", L"\uff2d\uff33 \uff30\u30b4\u30b7\u30c3\u30af"},
    {u8"café 한국", L"caf\u00e9 \ud55c\uad6d"},
    {u8"😀", L"\U0001F600"},  // a surrogate pair
};

TEST(Text, ConvertsBetweenUtf8AndUtf16) {
  for (const Case& c : kCases) {
    const std::string utf8 = ui::Utf8(c.utf8);
    SCOPED_TRACE(utf8);
    EXPECT_EQ(ui::Wide(c.utf8), c.wide);
    EXPECT_EQ(ui::WideFromUtf8(utf8), c.wide);
    EXPECT_EQ(ui::Utf8FromWide(c.wide), utf8);
  }
}

TEST(Text, TextArgPicksTheConversionByType) {
  EXPECT_EQ(ui::TextArg(u8"表").Value(), L"\u8868");
  EXPECT_EQ(ui::TextArg("\xE8\xA1\xA8").Value(), L"\u8868");  // 表 as UTF-8 data
  EXPECT_EQ(ui::TextArg(std::string("\xE8\xA1\xA8")).Value(), L"\u8868");
  EXPECT_EQ(ui::TextArg(L"\u8868").Value(), L"\u8868");
}

TEST(Text, EmbeddedZeroBytesSurvive) {
  const std::string text("a\0b", 3);
  EXPECT_EQ(ui::Utf8FromWide(ui::WideFromUtf8(text)), text);
}

}  // namespace
