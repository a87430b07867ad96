#include "core/md5.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/hex.h"

namespace {

std::string Md5Hex(const void* bytes, std::uint32_t count) {
  TMD5Context context;
  MD5Init(context);
  MD5Update(context, bytes, count);
  TMD5Digest digest;
  MD5Final(context, digest);
  return HexUpperBytes(digest.data(), digest.size());
}

// The repeating 0..250 byte pattern.
std::vector<std::uint8_t> Pattern(std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i % 251);
  return bytes;
}

}  // namespace

TEST(Md5, RfcTestSuite) {
  struct Case {
    const char* text;
    const char* digest;
  };
  const Case cases[] = {
      {"", "D41D8CD98F00B204E9800998ECF8427E"},
      {"a", "0CC175B9C0F1B6A831C399E269772661"},
      {"abc", "900150983CD24FB0D6963F7D28E17F72"},
      {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
      {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "D174AB98D277D9F5A5611C2C9F419D9F"},
      {"1234567890123456789012345678901234567890123456789012345678901234567890123456789"
       "0",
       "57EDF4A22BE3C955AC49DA2E2107B67A"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Md5Hex(c.text, static_cast<std::uint32_t>(std::strlen(c.text))), c.digest) << c.text;
}

// Digests from md5sum over the same bytes. 55 bytes end in one final block, 56..63 need a
// second, 64 end with a block of padding and length only.
TEST(Md5, PatternLengthsAroundTheBlockEdges) {
  struct Case {
    std::uint32_t length;
    const char* digest;
  };
  const Case cases[] = {
      {0, "D41D8CD98F00B204E9800998ECF8427E"},    {1, "93B885ADFE0DA089CDF634904FD59F71"},
      {2, "441077CC9E57554DD476BDFB8B8B8102"},    {3, "B95F67F61EBB03619622D798F45FC2D3"},
      {4, "37B59AFD592725F9305E484A5D7F5168"},    {5, "D05374DC381D9B52806446A71C8E79B1"},
      {6, "D15AE53931880FD7B724DD7888B4B4ED"},    {7, "9AA461E1ECA4086F9230AA49C90B0C61"},
      {8, "3677509751CCF61539174D2B9635A7BF"},    {55, "6912EE65FFF2D9F9CE2508CDDF8BCDA0"},
      {56, "51FDD1ACDA72405DFDFA03FCB85896D7"},   {63, "48A6295221902E8E0938F773A7185E72"},
      {64, "B2D3F56BC197FD985D5965079B5E7148"},   {65, "8BD7053801C768420FAF816FADBA971C"},
      {127, "8402B21E7BC7906493BAE0DAC017F1F9"},  {128, "37EFF01866BA3F538421B30B7CBEFCAC"},
      {129, "46F986692847558FC38B0CECE591C20F"},  {1023, "7437D7A881387DB7C41CF6930AB5E35D"},
      {1024, "9EE0A0E0C0BC0F1FF29D663D1FDF0743"}, {1025, "3F3789452B88CB32B8CBFBAFE715E29A"},
  };
  const auto data = Pattern(1025);
  for (const auto& c : cases) EXPECT_EQ(Md5Hex(data.data(), c.length), c.digest) << c.length;
}

TEST(Md5, PiecesEqualOnePiece) {
  std::mt19937 rng(7);
  std::vector<std::uint8_t> data(5000);
  for (auto& b : data) b = static_cast<std::uint8_t>(rng());
  const std::string whole = Md5Hex(data.data(), static_cast<std::uint32_t>(data.size()));

  const std::uint32_t pieceSizes[] = {0, 1, 63, 64, 65, 0, 7, 128, 55, 9, 1000};
  for (int pattern = 0; pattern < 2; ++pattern) {
    TMD5Context context;
    MD5Init(context);
    std::size_t pos = 0;
    for (std::size_t i = 0; pos < data.size(); ++i) {
      const std::uint32_t n = pattern == 0 ? 1  // one byte at a time
                                           : std::min<std::uint32_t>(pieceSizes[i % std::size(pieceSizes)],
                                                                     static_cast<std::uint32_t>(data.size() - pos));
      MD5Update(context, data.data() + pos, n);
      pos += n;
    }
    TMD5Digest digest;
    MD5Final(context, digest);
    EXPECT_EQ(HexUpperBytes(digest.data(), digest.size()), whole) << "pattern " << pattern;
  }
}

TEST(Md5, FinalWipesTheWholeContext) {
  TMD5Context context;
  std::memset(&context, 0xA5, sizeof context);
  MD5Init(context);
  MD5Update(context, "abc", 3);
  TMD5Digest digest;
  MD5Final(context, digest);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(&context);
  for (std::size_t i = 0; i < sizeof context; ++i) ASSERT_EQ(bytes[i], 0) << "byte " << i;
  EXPECT_EQ(HexUpperBytes(digest.data(), digest.size()), "900150983CD24FB0D6963F7D28E17F72");
}

// 513 MiB and 77 bytes, more than 2^29 bytes, so the bit count carries into the high word.
// The digest is md5sum's over the same stream: 513 copies of the first MiB of the 0..250
// pattern, then its first 77 bytes.
TEST(Md5, LongStreamCarriesIntoHighCountWord) {
  const auto block = Pattern(1 << 20);
  TMD5Context context;
  MD5Init(context);
  for (int i = 0; i < 513; ++i) MD5Update(context, block.data(), 1 << 20);
  MD5Update(context, block.data(), 77);
  const std::uint64_t bits = ((std::uint64_t{513} << 20) + 77) * 8;
  EXPECT_EQ(context.Count[0], static_cast<std::uint32_t>(bits));
  EXPECT_EQ(context.Count[1], static_cast<std::uint32_t>(bits >> 32));
  TMD5Digest digest;
  MD5Final(context, digest);
  EXPECT_EQ(HexUpperBytes(digest.data(), digest.size()), "08AEAA74769EBC7FE1100664DD5760AE");
}
