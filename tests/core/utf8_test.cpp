#include "core/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "core/listtext.h"
#include "core/text_encoding.h"

namespace {

std::string S(const char8_t* utf8) { return std::string(reinterpret_cast<const char*>(utf8)); }

TEST(Utf8, ConvertsToAndFromUtf16) {
  struct Case {
    std::u16string utf16;
    std::string utf8;
  };
  const Case cases[] = {
      {u"", ""},
      {u"a.txt", "a.txt"},
      {u"caf\u00e9", S(u8"café")},
      {u"\u8868\u30bd", S(u8"表ソ")},
      {u"\U0001F600", S(u8"😀")},                                      // a surrogate pair
      {std::u16string(1, char16_t(0xD800)) + u"x", "\xEF\xBF\xBDx"},  // a lone high surrogate
      {std::u16string(1, char16_t(0xDC00)), "\xEF\xBF\xBD"},          // a lone low surrogate
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8FromUtf16(c.utf16), c.utf8) << c.utf8;
    const bool lone = HasLoneSurrogate(c.utf16);
    EXPECT_EQ(lone, c.utf8.find("\xEF\xBF\xBD") != std::string::npos) << c.utf8;
    if (!lone) {
      EXPECT_EQ(Utf16FromUtf8(c.utf8), c.utf16) << c.utf8;
    }
  }
}

TEST(Utf8, ValidityOfSequences) {
  struct Case {
    std::string text;
    bool valid;
  };
  const Case cases[] = {
      {"", true},
      {"plain", true},
      {S(u8"表.txt 한국 😀"), true},
      {"\xC0\xAF", false},          // overlong "/"
      {"\xE0\x80\xAF", false},      // overlong, three bytes
      {"\xED\xA0\x80", false},      // a surrogate
      {"\xF4\x90\x80\x80", false},  // beyond U+10FFFF
      {"\xE8\xA1", false},          // cut short
      {"\x95\x5c.txt", false},      // Shift-JIS 表
      {"\x80", false},              // a lone continuation byte
  };
  for (const Case& c : cases) EXPECT_EQ(IsValidUtf8(c.text), c.valid) << c.text;
  EXPECT_EQ(Utf16FromUtf8("a\x80"
                          "b"),
            u"a\uFFFDb");
}

TEST(Utf8, DisplayColumnsAsAFixedPitchEditorDrawsThem) {
  struct Case {
    std::string text;
    std::size_t columns;
  };
  const Case cases[] = {
      {"", 0},
      {"a.txt", 5},
      {S(u8"表.txt"), 6},      // CJK: two
      {S(u8"ｱｲ"), 2},          // half-width katakana: one each
      {S(u8"ＡＢ"), 4},        // fullwidth Latin: two each
      {S(u8"한국"), 4},        // Hangul: two each
      {S(u8"café"), 4},        // é: one
      {S(u8"cafe\u0301"), 4},  // e + combining acute: one column together
      {S(u8"Привет"), 6},      // Cyrillic: one each
      {S(u8"😀"), 2},           // emoji: two
      {"\xFF", 1},             // an invalid byte: one
  };
  for (const Case& c : cases) EXPECT_EQ(DisplayColumns(c.text), c.columns) << c.text;
}

TEST(TextEncoding, DetectedByMarkThenByContent) {
  struct Case {
    std::string bytes;
    TextEncoding encoding;
    std::size_t bom;
  };
  const Case cases[] = {
      {"Name  CRC  Bytes", TextEncoding::Ansi, 0},  // ASCII: read as ever
      {"\x95\x5c.txt", TextEncoding::Ansi, 0},      // Shift-JIS
      {S(u8"表.txt"), TextEncoding::Utf8, 0},       // valid UTF-8 with a multi-byte character
      {"\xEF\xBB\xBF"
       "a",
       TextEncoding::Utf8, 3},
      {"\xFF\xFE"
       "a\0",
       TextEncoding::Utf16LE, 2},
      {"\xFE\xFF\0a", TextEncoding::Utf16BE, 2},
      {"\xEF\xBB\xBF\x95\x5c", TextEncoding::Utf8, 3},  // the mark decides
  };
  for (const Case& c : cases) {
    const DetectedEncoding detected = DetectTextEncoding(c.bytes);
    EXPECT_EQ(detected.encoding, c.encoding) << c.bytes;
    EXPECT_EQ(detected.bomLength, c.bom) << c.bytes;
  }
  EXPECT_EQ(Utf8FromUtf16Bytes(std::string("a\0\x68\x88", 4), false), S(u8"a表"));
  EXPECT_EQ(Utf8FromUtf16Bytes(std::string("\0a\x88\x68\0", 5), true), S(u8"a表"));  // odd byte dropped
}

// A UTF-8 table lines up in display columns: every hash starts in the same column.
TEST(ListText, Utf8TableWidthsCountDisplayColumns) {
  const ChecksumRow rows[] = {
      {S(u8"表.txt"), "352441C2", "3"}, {S(u8"café.txt"), "352441C2", "1,234"}, {"plain.txt", "352441C2", "3"}};
  const std::string text = RenderChecksumList(THashType::CRC32, rows, "Total", DisplayColumns);
  std::size_t start = 0;
  std::vector<std::size_t> hashColumns;
  for (std::size_t end = text.find("\r\n"); end != std::string::npos; start = end + 2, end = text.find("\r\n", start)) {
    const std::string line = text.substr(start, end - start);
    const std::size_t at = line.find("352441C2");
    if (at != std::string::npos) hashColumns.push_back(DisplayColumns(line.substr(0, at)));
  }
  EXPECT_EQ(hashColumns, (std::vector<std::size_t>{11, 11, 11}));  // "plain.txt" (9) and two spaces
  // Byte widths (the ANSI layout) would pad 表.txt by its UTF-8 bytes instead.
  EXPECT_NE(RenderChecksumList(THashType::CRC32, rows, "Total"), text);
}

}  // namespace

TEST(EscapedControls, NoControlCharacterStaysRaw) {
  const std::pair<std::string, std::string> cases[] = {
      {"a.txt", "a.txt"},
      {"C:\\data\\new.txt", "C:\\data\\new.txt"},  // a path's "\" stays
      {"a\tb", "a\\tb"},
      {"a\nb\r", "a\\nb\\r"},
      {"\x1b[31mred", "\\x1b[31mred"},
      {std::string("nul\0", 4), "nul\\x00"},
      {"del\x7F", "del\\x7f"},
      {"\xC2\x9B"
       "31m",
       "\\u009b31m"},                                            // C1 CSI
      {"\xC2\x85", "\\u0085"},                                   // C1 NEL
      {"\xFF.txt", "\\xff.txt"},                                 // kNoCharacter
      {"a\xC3", "a\\xc3"},                                       // a lead byte alone
      {"\xE8\xA1\xA8\xED\x95\x9C", "\xE8\xA1\xA8\xED\x95\x9C"},  // 表한 stay
      {"", ""},
  };
  for (const auto& [text, escaped] : cases) EXPECT_EQ(EscapedControls(text), escaped) << escaped;
}
