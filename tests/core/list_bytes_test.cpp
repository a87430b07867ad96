#include "core/list_bytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A stand-in for the ANSI code page: the Shift-JIS pair of 表 (95 5C) and ASCII are characters,
// every other byte is none. It notes the pieces it is given.
std::vector<std::string> pieces;

std::string FakeAnsi(std::string_view ansi) {
  pieces.emplace_back(ansi);
  std::string text;
  for (std::size_t i = 0; i < ansi.size(); ++i) {
    if (ansi.substr(i).starts_with("\x95\x5C")) {
      text += "\xE8\xA1\xA8";  // 表
      ++i;
    } else if (static_cast<unsigned char>(ansi[i]) < 0x80) {
      text += ansi[i];
    } else {
      text += kNoCharacter;
    }
  }
  return text;
}

std::string Utf16(std::u16string_view text, bool bigEndian) {
  std::string bytes;
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

}  // namespace

TEST(DecodeListBytes, EveryEncodingToUtf8) {
  struct Case {
    const char* label;
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"ASCII", "a.txt  1  2\r\n", "a.txt  1  2\r\n"},
      {"UTF-8 with its mark", "\xEF\xBB\xBF\xE8\xA1\xA8 1 2\r\n", "\xE8\xA1\xA8 1 2\r\n"},
      {"UTF-8 by its bytes", "\xE8\xA1\xA8 1 2\r\n", "\xE8\xA1\xA8 1 2\r\n"},
      // A byte-order mark decides even over bytes that are no UTF-8: they stay and name nothing.
      {"UTF-8 mark, bad byte",
       "\xEF\xBB\xBF"
       "a\x95 1 2",
       "a\x95 1 2"},
      {"UTF-16 LE", "\xFF\xFE" + Utf16(u"\u8868 1 2\r\n", false), "\xE8\xA1\xA8 1 2\r\n"},
      {"UTF-16 BE", "\xFE\xFF" + Utf16(u"\u8868 1 2\r\n", true), "\xE8\xA1\xA8 1 2\r\n"},
      {"UTF-16 pair", "\xFF\xFE" + Utf16(u"\U0001F600", false), "\xF0\x9F\x98\x80"},
      {"UTF-16 lone surrogates",
       "\xFF\xFE" + Utf16(u"a\xD800"
                          u"b\xDC00",
                          false),
       "a\xFF"
       "b\xFF"},
      {"UTF-16 odd last byte", "\xFF\xFE" + Utf16(u"a", false) + "x", "a"},
      {"ANSI", "\x95\x5C.txt  1  2\r\n", "\xE8\xA1\xA8.txt  1  2\r\n"},
      {"ANSI lone lead byte", "a.txt\x95\r\nb\x95\x5C\r\n", "a.txt\xFF\r\nb\xE8\xA1\xA8\r\n"},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeListBytes(c.bytes, FakeAnsi), c.text) << c.label;
  }
}

TEST(DecodeListBytes, AnsiInPiecesThatEndAtLineEnds) {
  // Three mebibytes of lines, each with a double-byte character whose second byte is a "\".
  const std::string line = "\x95\x5C" + std::string(97, 'x') + "\r\n";
  std::string bytes;
  while (bytes.size() < (std::size_t{3} << 20)) bytes += line;
  const std::size_t lines = bytes.size() / line.size();
  pieces.clear();
  const std::string text = DecodeListBytes(bytes, FakeAnsi);

  EXPECT_GE(pieces.size(), 3u);
  std::string joined;
  for (const std::string& piece : pieces) {
    EXPECT_TRUE(piece.ends_with('\n') || piece.ends_with('\r')) << piece.size();
    joined += piece;
  }
  // Compared as a truth: a failure must not print megabytes.
  EXPECT_TRUE(joined == bytes) << joined.size() << " bytes in pieces of " << bytes.size();
  std::string expected;
  for (std::size_t i = 0; i < lines; ++i) expected += "\xE8\xA1\xA8" + std::string(97, 'x') + "\r\n";
  EXPECT_TRUE(text == expected) << text.size() << " bytes of text, expected " << expected.size();
}

TEST(ParseChecksumListBytes, NamesWithBytesThatAreNoCharacterKeepThem) {
  using namespace std::string_literals;
  const ChecksumList list = ParseChecksumListBytes(
      "Name  CRC32  Bytes\r\n-  -  -\r\na.txt\x95  352441C2  3\r\na.txt\0junk  352441C2  3\r\n"
      "\x95\x5C.txt  352441C2  3\r\n"s,
      FakeAnsi);
  ASSERT_EQ(list.Kind(), THashType::CRC32);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list.Entry(0).name, "a.txt\xFF");
  EXPECT_EQ(list.Entry(1).name, std::string("a.txt\0junk", 10));
  EXPECT_EQ(list.Entry(2).name, "\xE8\xA1\xA8.txt");
}
