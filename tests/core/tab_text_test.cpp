#include "core/tab_text.h"

#include <gtest/gtest.h>

#include <utility>

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
