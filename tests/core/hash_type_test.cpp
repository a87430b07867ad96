#include "core/hash_type.h"

#include <gtest/gtest.h>

namespace {

struct KindCase {
  THashType kind;
  int digits;
  bool digest;
  THashType kindOfItsLength;  // what a hash text of its length is taken for
};

// Every kind and a few bytes that name none; BLAKE2b's 128 digits are taken for SHA-512, BLAKE3's
// 64 for SHA-256.
const KindCase kKinds[] = {
    {THashType::CRC16, 4, false, THashType::None},
    {THashType::CRC32, 8, false, THashType::None},
    {THashType::MD5, 32, true, THashType::MD5},
    {THashType::SHA256, 64, true, THashType::SHA256},
    {THashType::None, 0, false, THashType::None},
    {THashType::SHA1, 40, true, THashType::SHA1},
    {THashType::SHA512, 128, true, THashType::SHA512},
    {THashType::SHA224, 56, true, THashType::SHA224},
    {THashType::SHA384, 96, true, THashType::SHA384},
    {THashType::BLAKE2b, 128, true, THashType::SHA512},
    {THashType::BLAKE3, 64, true, THashType::SHA256},
    {static_cast<THashType>(11), 0, false, THashType::None},
    {static_cast<THashType>(0xFF), 0, false, THashType::None},
};

}  // namespace

TEST(HashType, LengthsAndDigestKinds) {
  for (const KindCase& c : kKinds) {
    const int kind = static_cast<int>(c.kind);
    EXPECT_EQ(HashTextLength(c.kind), c.digits) << kind;
    EXPECT_EQ(IsDigestKind(c.kind), c.digest) << kind;
    EXPECT_EQ(DigestKindOfLength(static_cast<std::size_t>(c.digits)), c.kindOfItsLength) << kind;
  }
}

TEST(HashType, TheStoredValuesStay) {
  EXPECT_EQ(static_cast<int>(THashType::SHA512), 6);
  EXPECT_EQ(static_cast<int>(THashType::SHA224), 7);
  EXPECT_EQ(static_cast<int>(THashType::SHA384), 8);
  EXPECT_EQ(static_cast<int>(THashType::BLAKE2b), 9);
}

// The settings file keeps BLAKE3 as 5; every value read maps to one kind and back to itself.
TEST(HashType, SettingsValuesTradeFiveAndTen) {
  EXPECT_EQ(SettingsValueOfKind(THashType::BLAKE3), 5);
  EXPECT_EQ(KindOfSettingsValue(5), THashType::BLAKE3);
  EXPECT_EQ(KindOfSettingsValue(10), THashType::SHA1);
  for (const THashType kind : {THashType::CRC16, THashType::CRC32, THashType::MD5, THashType::SHA256, THashType::None})
    EXPECT_EQ(SettingsValueOfKind(kind), static_cast<int>(kind));
  for (int value = 0; value < 256; ++value) {
    const auto byte = static_cast<std::uint8_t>(value);
    EXPECT_EQ(SettingsValueOfKind(KindOfSettingsValue(byte)), byte) << value;
  }
}
