#include "core/listread.h"

#include <gtest/gtest.h>

#include "core/listtext.h"

namespace {

using Lines = std::vector<std::string>;
const std::string kDigits = "900150983cd24fb0d6963f7d28e17f72";

struct Split {
  std::string name, hash, size;
};

void ExpectSplit(const std::optional<ListEntry>& entry, const std::optional<Split>& expected, std::string_view line) {
  ASSERT_EQ(entry.has_value(), expected.has_value()) << "[" << line << "]";
  if (!entry) return;
  EXPECT_EQ(entry->name, expected->name) << "[" << line << "]";
  EXPECT_EQ(entry->hash, expected->hash) << "[" << line << "]";
  EXPECT_EQ(entry->size, expected->size) << "[" << line << "]";
}

}  // namespace

TEST(SplitLines, EveryLineEnd) {
  struct Case {
    std::string text;
    Lines lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\n", {"a"}},
      {"a\r", {"a"}},
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"\r\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {"a\n\rb", {"a", "", "b"}},  // LF then CR: two line ends
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\r\n\r\nb\r\n", {"a", "", "b"}},
      {std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.text;
}

TEST(IsMD5Line, DigitsThenOneSpace) {
  struct Case {
    std::string line;
    bool md5;
  };
  const Case cases[] = {
      {kDigits + " a.txt", true},
      {kDigits + " ", true},
      {"900150983CD24FB0D6963F7D28E17F72 a", true},
      {"0123456789abcdefABCDEF0123456789 x", true},
      {kDigits, false},                       // 32 digits, no space
      {kDigits + "\ta.txt", false},           // a tab is no separator
      {kDigits.substr(1) + " a.txt", false},  // 31 digits
      {kDigits + "0 a.txt", false},           // 33 digits
      {"g00150983cd24fb0d6963f7d28e17f72 a", false},
      {" " + kDigits + " a", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsMD5Line(c.line), c.md5) << c.line;
}

TEST(IsChecksumListStart, TheFirstBytesOfAnyForm) {
  const std::string sha256(64, 'a');
  struct Case {
    std::string bytes;
    bool whole;  // the bytes are the whole file, not only its first ones
    bool start;
  };
  const Case cases[] = {
      {"Name     CRC32     Bytes\r\n--", false, true},
      {"Name  anything at all", false, true},  // a first line longer than the bytes read
      {kDigits + " *a.txt\r\n", true, true},
      {sha256 + "  a.txt\n", true, true},
      {"SHA256 (a.txt) = " + sha256 + "\n", true, true},
      {"; made by hand\r\nfile.bin 352441C2\r\n", true, true},
      {kDigits + "\r", true, true},  // a lone digest
      {"hello world\r\n" + kDigits + " a\r\n", false, false},
      {"MZ\x90\x03\r\n", false, false},
      {"Name ", true, false},
      {"Name\t", true, false},
      {"\xEF\xBB\xBFName ", true, false},  // a byte-order mark in front
      {"\r\nName ", true, false},
      {kDigits.substr(0, 20), true, false},
      {"", true, false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsChecksumListStart(c.bytes, c.whole), c.start) << c.bytes;
}

TEST(SplitTableLine, FromTheRightAtTheLastTwoSpaces) {
  struct Case {
    std::string line;
    std::optional<Split> split;
  };
  const Case cases[] = {
      {"a.txt    352441C2          3", Split{"a.txt", "352441C2", "3"}},
      {"big.bin  70986EF5  1,234,567", Split{"big.bin", "70986EF5", "1,234,567"}},
      {"my file name.txt  61DA  3", Split{"my file name.txt", "61DA", "3"}},
      {"a b c", Split{"a", "b", "c"}},
      {"  lead  1A  2  \t\r", Split{"  lead", "1A", "2"}},  // leading blanks stay, trailing go
      {"a\tb  1A  2", Split{"a\tb", "1A", "2"}},
      {" 1A 2", Split{"", "1A", "2"}},  // an empty name
      {"Name     CRC32     Bytes", Split{"Name", "CRC32", "Bytes"}},
      {"-------  --------  ---------", Split{"-------", "--------", "---------"}},
      {"\x95\x5C 1A 3", Split{"\x95\x5C", "1A", "3"}},  // 表, trail byte 0x5C
      {"a.txt  3", std::nullopt},                       // two fields only
      {"a.txt\t352441C2\t3", std::nullopt},             // tabs do not separate
      {"a.txt 352441C2\t3", std::nullopt},
      {"----------------------------", std::nullopt},  // the closing line
      {"", std::nullopt},
      {"      ", std::nullopt},
      {"x ", std::nullopt},
  };
  for (const Case& c : cases) ExpectSplit(SplitTableLine(c.line), c.split, c.line);
}

TEST(SplitMD5Line, NameAfterBlanksAndOneAsterisk) {
  struct Case {
    std::string line;
    std::optional<Split> split;
  };
  const Case cases[] = {
      {kDigits + " a.txt", Split{"a.txt", kDigits, ""}},
      {kDigits + " *a.txt", Split{"a.txt", kDigits, ""}},
      {kDigits + " **a.txt", Split{"*a.txt", kDigits, ""}},
      {kDigits + "  \t *a.txt", Split{"a.txt", kDigits, ""}},
      {kDigits + " * a.txt", Split{" a.txt", kDigits, ""}},
      {kDigits + " a b.txt  ", Split{"a b.txt  ", kDigits, ""}},  // trailing blanks stay
      {kDigits + " ", Split{"", kDigits, ""}},
      {kDigits + "    ", Split{"", kDigits, ""}},
      {kDigits + " *", Split{"", kDigits, ""}},
      {"900150983CD24FB0D6963F7D28E17F72 A", Split{"A", "900150983CD24FB0D6963F7D28E17F72", ""}},
      {kDigits + " sub\\\x95\x5C.txt", Split{"sub\\\x95\x5C.txt", kDigits, ""}},  // sub\表.txt
      {kDigits + "\ta.txt", std::nullopt},
      {kDigits.substr(1) + " a.txt", std::nullopt},
      {kDigits + "0 a.txt", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) ExpectSplit(SplitMD5Line(c.line), c.split, c.line);
}

TEST(DetectListStart, TablesAndMd5) {
  struct Case {
    Lines lines;
    THashType kind;
    std::size_t firstEntryLine;  // the line the entries begin with
  };
  const Lines crc16 = {"Name     CRC   Bytes", "-------  ----  ---------", "a.txt    61DA          3"};
  const Case cases[] = {
      {crc16, THashType::CRC16, 2},
      {{"Name  CRC32  Bytes", "- - -", "x"}, THashType::CRC32, 2},
      {{"Name CRC32 Bytes   ", "-a -b -c", ""}, THashType::CRC32, 2},
      {{"Name  CRC32  Bytes", "----  --------  -----"}, THashType::None, 0},  // two lines only
      {{"name  CRC32  Bytes", "-  -  -", "x"}, THashType::None, 0},           // other case
      {{"Name  crc32  Bytes", "-  -  -", "x"}, THashType::None, 0},
      {{"Name  CRC32  bytes", "-  -  -", "x"}, THashType::None, 0},
      {{"Name  CRC16  Bytes", "-  -  -", "x"}, THashType::None, 0},
      {{"Name  MD5  Bytes", "-  -  -", "x"}, THashType::None, 0},
      {{" Name  CRC32  Bytes", "-  -  -", "x"}, THashType::None, 0},
      {{"\xEF\xBB\xBFName  CRC32  Bytes", "-  -  -", "x"}, THashType::None, 0},
      {{"Name\tCRC32\tBytes", "-  -  -", "x"}, THashType::None, 0},
      {{"Name  CRC32  Bytes", "-  -  x", "x"}, THashType::None, 0},
      {{"Name  CRC32  Bytes", "--------", "x"}, THashType::None, 0},
      {{"Name  CRC32  Bytes", " -  -  -", "x"}, THashType::None, 0},
      {{"", "Name  CRC32  Bytes", "-  -  -", "x"}, THashType::None, 0},
      {{kDigits + " a.txt"}, THashType::MD5, 0},
      {{kDigits + " a.txt", "junk"}, THashType::MD5, 0},
      {{"", kDigits + " a.txt"}, THashType::None, 0},
      {{"\xEF\xBB\xBF" + kDigits + " a.txt"}, THashType::None, 0},
      {{"Name x"}, THashType::None, 0},
      {{}, THashType::None, 0},
  };
  for (const std::string_view end : {"\r\n", "\n", "\r"}) {
    for (const Case& c : cases) {
      std::string text;
      std::size_t firstEntry = 0;
      for (std::size_t i = 0; i < c.lines.size(); ++i) {
        if (i == c.firstEntryLine) firstEntry = text.size();
        text += c.lines[i];
        text += end;
      }
      const ListStart start = DetectListStart(text);
      EXPECT_EQ(start.kind, c.kind) << text;
      if (c.kind != THashType::None) {
        EXPECT_EQ(start.firstEntry, firstEntry) << text;
      }
    }
  }
  // The separator must end in a line end, and the header's own title decides the kind.
  EXPECT_EQ(DetectListStart("Name  CRC32  Bytes\r\n-  -  -").kind, THashType::None);
  EXPECT_EQ(DetectListStart("Name  CRC  Bytes\r\n-  -  -\r\nx").kind, THashType::CRC16);
}

TEST(ListReader, ReadsWhatCreationWrites) {
  // Names with spaces, folders and double-byte characters (写真 = 8E CA 90 5E) survive the trip.
  const std::vector<ChecksumRow> rows = {{"my file.txt", "352441C2", "3"},
                                         {"sub\\\x8E\xCA\x90\x5E.jpg", "70986EF5", "1,234,567"},
                                         {" lead", "00000000", "0"}};
  for (THashType kind : {THashType::CRC16, THashType::CRC32}) {
    const std::string text = RenderChecksumList(kind, rows, "Total  3 Files  1,234,570 Bytes");
    ASSERT_TRUE(IsChecksumListStart(text, true));
    const ListStart start = DetectListStart(text);
    ASSERT_EQ(start.kind, kind);
    const Lines lines = SplitLines(text.substr(start.firstEntry));
    ASSERT_EQ(lines.size(), rows.size() + 2);  // rows, closing line, total line
    for (std::size_t i = 0; i < rows.size(); ++i) {
      ExpectSplit(SplitTableLine(lines[i]), Split{rows[i].Name, rows[i].Hash, rows[i].Bytes}, lines[i]);
    }
    EXPECT_FALSE(SplitTableLine(lines[rows.size()]));  // the closing line ends the entries
  }

  const std::vector<ChecksumRow> md5 = {{"*a b.txt", kDigits, ""}, {"x", kDigits, ""}};
  const std::string text = RenderChecksumList(THashType::MD5, md5, "");
  ASSERT_TRUE(IsChecksumListStart(text, true));
  ASSERT_EQ(DetectListStart(text).kind, THashType::MD5);
  const Lines lines = SplitLines(text);
  ASSERT_EQ(lines.size(), 2u);
  ExpectSplit(SplitMD5Line(lines[0]), Split{"a b.txt", kDigits, ""}, lines[0]);
  ExpectSplit(SplitMD5Line(lines[1]), Split{"x", kDigits, ""}, lines[1]);
}

TEST(ListTextMayContinue, StopsOnceTheTextCannotBeAList) {
  struct Case {
    std::string text;
    bool mayContinue;
  };
  const Case cases[] = {
      {"", true},
      {"Name ", true},
      {"Name and a very long first line without its end yet", true},
      {"Name  CRC32  Bytes", true},
      {"Name  CRC32  Bytes\r", true},  // the LF of CR LF may follow
      {"Name  CRC32  Bytes\r\n", true},
      {"Name  CRC32  Bytes\r\n---", true},
      {"Name  CRC32  Bytes\r\n----  --------  -----", true},
      {"Name  CRC32  Bytes\r\n----  --------  -----\r\n", true},
      {"Name  CRC   Bytes\n-  -  -\nanything at all\n", true},
      {"Name  CRC32  Bytes\r\n----  --------  -----\r\nno split\r\nmore", true},
      {"Name  CRC32  Bytes\r\r", false},  // an empty second line
      {"Name  CRC32  Bytes\r\n\r\n", false},
      {"Name  CRC32  Bytes\r\nxx  --  --\r\n", false},
      {"Name  CRC32  Bytes\n--------\n", false},
      {"Name of a text file\r\n", false},
      {"Name  MD5  Bytes\r\n-  -  -\r\n", false},
      {"Name  crc32  Bytes\n", false},
      {"Name\n", false},
      {"\r\n", true},  // a blank line may begin another tool's file
      {"hello\r\n", false},
      {kDigits + " a.txt\r\n", true},
      {kDigits + " a.txt\r\nanything\r\n", true},
      {kDigits, true},
      {kDigits + "\r\n", true},  // a lone digest
      {kDigits + "0\r\n", false},
  };
  for (const Case& c : cases) EXPECT_EQ(ListTextMayContinue(c.text), c.mayContinue) << c.text;
}

TEST(IsAbsoluteListName, DriveRootsAndNetworkPaths) {
  struct Case {
    const char* name;
    bool absolute;
  };
  const Case cases[] = {
      {"C:\\x\\d.txt", true},
      {"d:\\a", true},
      {"Z:\\", true},
      {"\\\\server\\share\\a", true},
      {"\\\\", true},
      {"a.txt", false},
      {"sub\\b.txt", false},
      {"..\\other\\c.txt", false},
      {"C:a.txt", false},
      {"C:", false},
      {"\\a.txt", false},
      {"1:\\a", false},
      {"CC:\\a", false},
      {"\x95\x5C\\a", false},  // 表\a: a double-byte character is no drive letter
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsAbsoluteListName(c.name), c.absolute) << c.name;
}
