#include "core/listread.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

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
      {"a\r\r\nb", {"a", "b"}},    // CR CR LF: one line end
      {"a\r\r\r\nb\r\r\n", {"a", "b"}},
      {"a\r\rb", {"a", "", "b"}},  // lone CRs
      {"a\r\n\r\nb\r\n", {"a", "", "b"}},
      {std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.text;
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
