#include "core/tab_text.h"

#include <gtest/gtest.h>

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
