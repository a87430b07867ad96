#include "core/numfmt.h"

#include <gtest/gtest.h>

TEST(FormatGrouped, GroupsByThree) {
  struct Case {
    std::uint64_t value;
    const char* text;
  };
  const Case cases[] = {
      {0, "0"},
      {7, "7"},
      {999, "999"},
      {1000, "1,000"},
      {12345, "12,345"},
      {123456, "123,456"},
      {1234567, "1,234,567"},
      {1000000, "1,000,000"},
      {18446744073709551615ull, "18,446,744,073,709,551,615"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatGrouped(c.value, ","), c.text) << c.text;
  EXPECT_EQ(FormatGrouped(1234567, "."), "1.234.567");
  EXPECT_EQ(FormatGrouped(1234567, ""), "1234567");
  EXPECT_EQ(FormatGrouped(1234567, "\xC2\xA0"),
            "1\xC2\xA0"
            "234\xC2\xA0"
            "567");  // two bytes
}

TEST(TotalLine, CountPlainSizeGrouped) {
  EXPECT_EQ(TotalLine(2, 1234570, ","), "Total  2 Files  1,234,570 Bytes");
  EXPECT_EQ(TotalLine(0, 0, ","), "Total  0 Files  0 Bytes");
  EXPECT_EQ(TotalLine(12345, 999, ","), "Total  12345 Files  999 Bytes");
}
