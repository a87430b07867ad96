#include "core/hex.h"

#include <gtest/gtest.h>

TEST(Hex, PadsAndUsesUpperCase) {
  struct Case {
    std::uint64_t value;
    int digits;
    const char* text;
  };
  const Case cases[] = {
      {0xFFFF, 4, "FFFF"}, {0x6F91, 4, "6F91"},         {0x7A2, 4, "07A2"},
      {0, 8, "00000000"},  {0xCBF43926, 8, "CBF43926"}, {0x123456789, 8, "23456789"},
  };
  for (const auto& c : cases) EXPECT_EQ(HexUpper(c.value, c.digits), c.text) << c.text;
}

TEST(Hex, BytesInOrder) {
  const std::uint8_t digest[] = {0x90, 0x01, 0x50, 0x98, 0x0a};
  EXPECT_EQ(HexUpperBytes(digest, sizeof digest), "900150980A");
  EXPECT_EQ(HexUpperBytes(digest, 0), "");
}

TEST(Hex, LowerTouchesOnlyAsciiLetters) {
  EXPECT_EQ(AsciiLower("352441C2"), "352441c2");
  EXPECT_EQ(AsciiLower("\x95\x5CZ"), "\x95\x5Cz");  // 表 then Z: the double-byte bytes stay
}
