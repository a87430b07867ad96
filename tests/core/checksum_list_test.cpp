#include "core/checksum_list.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using Entries = std::vector<std::tuple<std::string, std::string, std::string>>;  // name, hash, size
const std::string kAbc = "900150983cd24fb0d6963f7d28e17f72";                     // MD5 of "abc"
const std::string kCrc32Head = "Name     CRC32     Bytes\r\n-------  --------  ---------\r\n";

Entries Flat(const ChecksumList& list) {
  Entries flat;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const ListEntry e = list.Entry(i);
    flat.emplace_back(e.name, e.hash, e.size);
  }
  return flat;
}

}  // namespace

TEST(ParseChecksumList, KindAndEntriesUpToTheFirstLineThatDoesNotSplit) {
  struct Case {
    std::string text;
    THashType kind;
    Entries entries;
  };
  const Case cases[] = {
      {kCrc32Head + "a.txt    352441C2          3\r\nbig.bin  70986EF5  1,234,567\r\n"
                    "----------------------------\r\nTotal  2 Files  1,234,570 Bytes\r\n",
       THashType::CRC32,
       {{"a.txt", "352441C2", "3"}, {"big.bin", "70986EF5", "1,234,567"}}},
      // Without the closing line the total splits like a row: the splitter's rule, kept.
      {kCrc32Head + "a.txt  352441C2  3\r\nTotal  2 Files  1,234,570 Bytes\r\n",
       THashType::CRC32,
       {{"a.txt", "352441C2", "3"}, {"Total  2 Files", "1,234,570", "Bytes"}}},
      {"Name  CRC  Bytes\n----  ----  -----\nmy a.txt  61DA  3\nb  07A2  4",
       THashType::CRC16,
       {{"my a.txt", "61DA", "3"}, {"b", "07A2", "4"}}},
      {"Name  CRC  Bytes\r----  ----  -----\ra  61DA  3\r\rb  07A2  4\r",
       THashType::CRC16,
       {{"a", "61DA", "3"}}},  // the empty line ends it
      {kCrc32Head + "a  1  2\r\nbroken\r\nb  3  4\r\n", THashType::CRC32, {{"a", "1", "2"}}},
      {kCrc32Head + "-----------\r\n", THashType::CRC32, {}},      // a page, but empty
      {"Name  CRC32  Bytes\r\n-  -  -\r\n", THashType::None, {}},  // nothing after the header
      {kAbc + " *a.txt\r\n" + kAbc + "  my b.txt\n" + kAbc + " \tc\r",
       THashType::MD5,
       {{"a.txt", kAbc, ""}, {"my b.txt", kAbc, ""}, {"c", kAbc, ""}}},
      {kAbc + " a\r\n\r\n" + kAbc + " b\r\n", THashType::MD5, {{"a", kAbc, ""}}},
      {"\r\n" + kAbc + " a\r\n", THashType::None, {}},
      {"a.txt  352441C2  3\r\n", THashType::None, {}},  // rows without a header
      {"", THashType::None, {}},
  };
  for (const Case& c : cases) {
    const ChecksumList list = ParseChecksumList(c.text);
    EXPECT_EQ(list.Kind(), c.kind) << c.text;
    EXPECT_EQ(Flat(list), c.entries) << c.text;
  }
}

TEST(ParseChecksumList, EntriesStayValidWhenTheListMoves) {
  // Short texts live inside the string object itself: entries must not point into a moved-from one.
  ChecksumList first = ParseChecksumList(kAbc + " a\n");
  const ChecksumList moved = std::move(first);
  ASSERT_EQ(moved.size(), 1u);
  EXPECT_EQ(moved.Entry(0).name, "a");
  EXPECT_EQ(moved.Fields(0).hash, kAbc);
}

TEST(SplitListLine, TheRuleOfTheKind) {
  struct Case {
    std::string line;
    THashType kind;
    bool splits;
  };
  const Case cases[] = {
      {"a b c", THashType::CRC16, true},
      {"a b c", THashType::CRC32, true},
      {"a b c", THashType::MD5, false},
      {kAbc + " a b", THashType::MD5, true},
      {kAbc + " *a", THashType::CRC32, false},
      {"a b c", THashType::None, false},
      {"a b c", static_cast<THashType>(3), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitListLine(c.line, c.kind).has_value(), c.splits) << c.line << " kind " << int(c.kind);
  }
  EXPECT_EQ(SplitListLine(kAbc + " a b", THashType::CRC32)->name, kAbc);  // the table rule, from the right
}
