#include "core/tab_text.h"

#include <gtest/gtest.h>

#include <utility>

#include "core/utf8.h"

TEST(TabSeparatedText, OneLinePerRowWhateverTheCellsHold) {
  struct Case {
    std::vector<std::vector<std::string>> rows;
    std::string text;
  };
  const Case cases[] = {
      {{}, ""},
      {{{"Name", "CRC32"}, {"a.txt", "352441C2"}}, "Name\tCRC32\r\na.txt\t352441C2\r\n"},
      {{{"", "x", ""}}, "\tx\t\r\n"},                          // empty cells keep their place
      {{{"a\tb", "c\r\nd", "e\nf"}}, "a b\tc  d\te f\r\n"},    // no cell splits its row
      {{{"\xE8\xA1\xA8 ,\"q\""}}, "\xE8\xA1\xA8 ,\"q\"\r\n"},  // 表, commas and quotes as they are
  };
  for (const Case& c : cases) EXPECT_EQ(TabSeparatedText(c.rows), c.text);
}

TEST(CommaSeparatedText, QuotesOnlyTheCellsThatNeedIt) {
  struct Case {
    std::vector<std::vector<std::string>> rows;
    std::string text;
  };
  const Case cases[] = {
      {{}, ""},
      {{{"List", "Name"}, {"C:\\x\\a.md5", "a.txt"}}, "List,Name\r\nC:\\x\\a.md5,a.txt\r\n"},
      {{{"", "x", ""}}, ",x,\r\n"},
      {{{"a,b", "say \"hi\"", "two\r\nlines", "lf\n"}}, "\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",\"lf\n\"\r\n"},
      {{{"\"", "\xE8\xA1\xA8 tab\there"}}, "\"\"\"\",\xE8\xA1\xA8 tab\there\r\n"},  // a tab needs no quotes
  };
  for (const Case& c : cases) EXPECT_EQ(CommaSeparatedText(c.rows), c.text);
}

TEST(PlainDigits, GroupedSizesLoseTheirSeparators) {
  const std::pair<std::string, std::string> cases[] = {
      {"1,234,567", "1234567"}, {"1.234", "1234"}, {"12 345", "12345"}, {"0", "0"}, {"", ""}, {",", ","},
      {"12a", "12a"},           {"-5", "-5"},
  };
  for (const auto& [size, digits] : cases) EXPECT_EQ(PlainDigits(size), digits) << size;
}

// Cells a spreadsheet would take for a formula start with "'"; a byte that is no character
// becomes U+FFFD. Nothing else changes, so the cells read back as written.
TEST(CommaSeparatedText, SafeToOpenInASpreadsheet) {
  const std::pair<std::string, std::string> cases[] = {
      {"=HYPERLINK(\"http://x\")", "'=HYPERLINK(\"http://x\")"},
      {"+1", "'+1"},
      {"-2+3", "'-2+3"},
      {"@SUM(A1)", "'@SUM(A1)"},
      {"\t=1", "'\t=1"},
      {"\r=1", "'\r=1"},
      {"a=1", "a=1"},
      {"'=1", "'=1"},
      {"", ""},
      {"1234", "1234"},
      {"\xFF.txt", "\xEF\xBF\xBD.txt"},              // kNoCharacter
      {"a\xC3.txt", "a\xEF\xBF\xBD.txt"},            // a lead byte alone
      {"=\xFF", "'=\xEF\xBF\xBD"},                   // both
      {"\xE8\xA1\xA8,\"q\"", "\xE8\xA1\xA8,\"q\""},  // 表 stays
  };
  std::vector<std::vector<std::string>> rows;
  for (const auto& [cell, shown] : cases) rows.push_back({"L", cell});
  const std::string text = CommaSeparatedText(rows);
  EXPECT_TRUE(IsValidUtf8(text));

  // Read back by RFC 4180: every row as two cells, the second as expected.
  std::vector<std::vector<std::string>> read(1);
  std::string cell;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c != '"') {
        cell += c;
      } else if (i + 1 < text.size() && text[i + 1] == '"') {
        cell += c;
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      read.back().push_back(std::move(cell));
      cell.clear();
    } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      read.back().push_back(std::move(cell));
      cell.clear();
      read.emplace_back();
      ++i;
    } else {
      cell += c;
    }
  }
  ASSERT_TRUE(read.back().empty() && cell.empty()) << "the text ends with a whole row";
  read.pop_back();
  ASSERT_EQ(read.size(), std::size(cases));
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i], (std::vector<std::string>{"L", cases[i].second})) << cases[i].first;
  }
}
