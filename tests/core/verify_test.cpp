#include "core/verify.h"

#include <gtest/gtest.h>

namespace {

using R = TVerifyResult;
constexpr std::uint64_t kBig = 1234567;
const std::string kAbc = "900150983cd24fb0d6963f7d28e17f72";  // MD5 of "abc"
const std::string kAbcUpper = "900150983CD24FB0D6963F7D28E17F72";
const std::string kOther = "900150983cd24fb0d6963f7d28e17f73";

}  // namespace

TEST(VerifyEntry, ResultAndFoundTexts) {
  struct Case {
    THashType kind;
    ListEntry expected;
    std::optional<FoundFile> found;
    const char* separator;
    TVerification want;
  };
  const Case cases[] = {
      {THashType::CRC32, {"a", "352441C2", "3"}, std::nullopt, ",", {R::OpenFailed, "", ""}},
      {THashType::CRC32, {"a", "352441C2", "3"}, FoundFile{"352441C2", 3}, ",", {R::Correct, "352441C2", "3"}},
      {THashType::CRC32, {"a", "352441c2", "3"}, FoundFile{"352441C2", 3}, ",", {R::Correct, "352441C2", "3"}},
      {THashType::CRC16, {"a", "61DA", "3"}, FoundFile{"61DB", 3}, ",", {R::HashMismatch, "61DB", "3"}},
      {THashType::CRC32, {"a", "352441C2", "4"}, FoundFile{"352441C2", 3}, ",", {R::SizeMismatch, "352441C2", "3"}},
      {THashType::CRC32, {"a", "352441C2", "4"}, FoundFile{"FFFFFFFF", 3}, ",", {R::SizeMismatch, "FFFFFFFF", "3"}},
      // A "," in the expected size asks for the grouped form, with this machine's separator.
      {THashType::CRC32, {"a", "1", "1,234,567"}, FoundFile{"1", kBig}, ",", {R::Correct, "1", "1,234,567"}},
      {THashType::CRC32, {"a", "1", "1,234,567"}, FoundFile{"1", kBig}, ".", {R::SizeMismatch, "1", "1.234.567"}},
      {THashType::CRC32, {"a", "1", "1.234.567"}, FoundFile{"1", kBig}, ".", {R::SizeMismatch, "1", "1234567"}},
      {THashType::CRC32, {"a", "1", "1234567"}, FoundFile{"1", kBig}, ",", {R::Correct, "1", "1234567"}},
      {THashType::CRC32, {"a", "1", "1,000"}, FoundFile{"1", 999}, ",", {R::SizeMismatch, "1", "999"}},
      {THashType::CRC32, {"a", "1", "03"}, FoundFile{"1", 3}, ",", {R::SizeMismatch, "1", "3"}},
      // MD5 entries carry no size and none is shown; only the hash decides.
      {THashType::MD5, {"a", kAbcUpper, ""}, FoundFile{kAbc, kBig}, ",", {R::Correct, kAbc, ""}},
      {THashType::MD5, {"a", kAbcUpper, ""}, FoundFile{kOther, 3}, ",", {R::HashMismatch, kOther, ""}},
      // SFV entries are CRC32 without a size: the hash alone decides, no size is shown.
      {THashType::CRC32, {"a", "352441c2", ""}, FoundFile{"352441C2", kBig}, ",", {R::Correct, "352441C2", ""}},
      {THashType::SHA256, {"a", "ab", ""}, FoundFile{"AC", 3}, ",", {R::HashMismatch, "AC", ""}},
  };
  for (const Case& c : cases) {
    const TVerification got = VerifyEntry(c.expected, c.found, c.separator);
    const std::string label = c.expected.hash + " " + c.expected.size + " sep[" + c.separator + "]";
    EXPECT_EQ(got.result, c.want.result) << label;
    EXPECT_EQ(got.foundHash, c.want.foundHash) << label;
    EXPECT_EQ(got.foundBytes, c.want.foundBytes) << label;
  }
}

TEST(VerifyEntry, HashCaseFoldsOnlyAsciiLetters) {
  struct Case {
    std::string expected, found;
    bool same;
  };
  const Case cases[] = {
      {"ABCDEF09", "abcdef09", true},
      {"aBcDeF09", "AbCdEf09", true},
      {"GZ", "gz", true},
      {"ABCDEF09", "ABCDEF0", false},
      {"", "", true},
      {"[", "{", false},
      {"@", "`", false},        // 0x5B/0x7B and 0x40/0x60 differ in the case bit only
      {"\xC1", "\xE1", false},  // Latin-1 Á/á
  };
  for (const Case& c : cases) {
    const TVerification got = VerifyEntry({"n", c.expected, "1"}, FoundFile{c.found, 1}, ",");
    EXPECT_EQ(got.result, c.same ? R::Correct : R::HashMismatch) << c.expected << " / " << c.found;
  }
}

TEST(VerifyResultText, ErrorColumnTexts) {
  struct Case {
    TVerifyResult result;
    THashType kind;
    std::u8string text;
  };
  const Case cases[] = {
      {R::Correct, THashType::CRC32, u8""},
      {R::OpenFailed, THashType::MD5, u8"ファイルオープン失敗"},
      {R::HashMismatch, THashType::CRC16, u8"CRC不一致"},
      {R::HashMismatch, THashType::CRC32, u8"CRC32不一致"},
      {R::HashMismatch, THashType::MD5, u8"MD5不一致"},
      {R::SizeMismatch, THashType::CRC32, u8"サイズ不一致"},
      {R::NetworkRefused, THashType::MD5, u8"ネットワーク上のパスは開きません"},
      {R::BadName, THashType::CRC32, u8"名前が不正です"},
      {R::Unlisted, THashType::SHA256, u8"リストにないファイル"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VerifyResultText(c.result, c.kind), c.text) << int(c.result) << " " << int(c.kind);
  }
}
