#include "core/crc.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/cpu_features.h"

namespace {

// Bit at a time, straight from the polynomial: checks the tables without using them.
template <typename T>
T BitwiseCrc(T reg, std::uint32_t reflectedPoly, const std::uint8_t* p, std::size_t count) {
  std::uint32_t crc = reg;
  for (std::size_t i = 0; i < count; ++i) {
    crc ^= p[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ reflectedPoly : crc >> 1;
  }
  return static_cast<T>(crc);
}

std::vector<std::uint8_t> RandomBytes(std::size_t count, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<std::uint8_t> bytes(count);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(rng());
  return bytes;
}

const char kCheck[] = "123456789";

}  // namespace

TEST(Crc, TablesHoldTheCatalogueEntries) {
  BuildCrc16Table();  // a second call must not change anything
  EXPECT_EQ(Crc16Table[0], 0x0000);
  EXPECT_EQ(Crc16Table[1], 0x1189);
  EXPECT_EQ(Crc16Table[128], 0x8408);
  EXPECT_EQ(Crc16Table[255], 0x0F78);
  EXPECT_EQ(Crc32Table[1], 0x77073096u);
  EXPECT_EQ(Crc32Table[255], 0x2D02EF8Du);
  for (unsigned i = 0; i < 256; ++i) {
    const std::uint8_t byte = static_cast<std::uint8_t>(i);
    // One byte from a zero register leaves exactly the table entry.
    EXPECT_EQ(Crc16Table[i], BitwiseCrc<std::uint16_t>(0, 0x8408, &byte, 1)) << i;
    EXPECT_EQ(Crc32Table[i], BitwiseCrc<std::uint32_t>(0, 0xEDB88320, &byte, 1)) << i;
  }
}

TEST(Crc, ReferenceMatchesBitwiseDefinition) {
  const auto data = RandomBytes(4099, 1);
  EXPECT_EQ(Crc16UpdateReference(0xFFFF, data.data(), data.size()),
            BitwiseCrc<std::uint16_t>(0xFFFF, 0x8408, data.data(), data.size()));
  EXPECT_EQ(Crc32UpdateReference(0xFFFFFFFF, data.data(), data.size()),
            BitwiseCrc<std::uint32_t>(0xFFFFFFFF, 0xEDB88320, data.data(), data.size()));
}

TEST(Crc, VariantListEndsWithTheChosenOne) {
  const auto variants = CrcVariants();
  ASSERT_FALSE(variants.empty());
  EXPECT_STREQ(variants.front().Name, "slice16");
  EXPECT_EQ(&CrcChosenVariant(), &variants.back());
  const TCpuFeatures& cpu = CpuFeatures();
  const char* expected = cpu.Vpclmul ? "vpclmul" : cpu.Pclmul ? "clmul" : "slice16";
  EXPECT_STREQ(CrcChosenVariant().Name, expected);
  for (const auto& v : variants) std::printf("[          ] CRC variant: %s\n", v.Name);
}

TEST(Crc, CheckValuesOnEveryPath) {
  struct Path {
    std::string name;
    TCrc16Fn crc16;
    TCrc32Fn crc32;
  };
  std::vector<Path> paths = {{"reference", Crc16UpdateReference, Crc32UpdateReference},
                             {"production", Crc16Update, Crc32Update}};
  for (const auto& v : CrcVariants()) paths.push_back({v.Name, v.Crc16, v.Crc32});
  for (const auto& path : paths) {
    SCOPED_TRACE(path.name);
    EXPECT_EQ(path.crc16(0xFFFF, kCheck, 9), 0x6F91);
    EXPECT_EQ(~path.crc32(0xFFFFFFFF, kCheck, 9), 0xCBF43926u);
    // Empty input keeps the register: CRC-16 text FFFF, CRC-32 text 00000000.
    EXPECT_EQ(path.crc16(0xFFFF, kCheck, 0), 0xFFFF);
    EXPECT_EQ(~path.crc32(0xFFFFFFFF, kCheck, 0), 0u);
    EXPECT_EQ(path.crc16(0x1234, nullptr, 0), 0x1234);
    EXPECT_EQ(path.crc32(0x12345678, nullptr, 0), 0x12345678u);
  }
}

// Every length up to past the widest block and every alignment within a cache line, from
// registers that differ, so the start, the folds and the tails all meet the reference.
TEST(Crc, EveryVariantMatchesReferenceAtEveryLengthAndAlignment) {
  const auto data = RandomBytes(300 + 64, 2);
  std::mt19937 rng(3);
  for (const auto& v : CrcVariants()) {
    SCOPED_TRACE(v.Name);
    int failures = 0;
    for (std::size_t offset = 0; offset < 64 && failures < 5; ++offset) {
      for (std::size_t length = 0; length <= 300 && failures < 5; ++length) {
        const auto* p = data.data() + offset;
        const auto reg16 = static_cast<std::uint16_t>(rng());
        const auto reg32 = static_cast<std::uint32_t>(rng());
        const auto want16 = Crc16UpdateReference(reg16, p, length);
        const auto want32 = Crc32UpdateReference(reg32, p, length);
        if (v.Crc16(reg16, p, length) != want16 || v.Crc32(reg32, p, length) != want32) {
          ADD_FAILURE() << "offset " << offset << " length " << length;
          ++failures;
        }
      }
    }
  }
}

TEST(Crc, EveryVariantMatchesReferenceOnLargeBuffers) {
  const auto data = RandomBytes((1 << 20) + 333, 4);
  const std::size_t lengths[] = {4096, 65535, 65536, 65536 + 13, 100000, (1 << 20) + 333};
  for (const auto& v : CrcVariants()) {
    SCOPED_TRACE(v.Name);
    for (std::size_t length : lengths) {
      EXPECT_EQ(v.Crc16(0xFFFF, data.data(), length), Crc16UpdateReference(0xFFFF, data.data(), length)) << length;
      EXPECT_EQ(v.Crc32(0xFFFFFFFF, data.data(), length), Crc32UpdateReference(0xFFFFFFFF, data.data(), length))
          << length;
    }
  }
}

// Blocks of any size, 0 included, give the one-piece result, with the register carried between.
TEST(Crc, PiecesEqualOnePiece) {
  const auto data = RandomBytes(200000, 5);
  const std::uint16_t whole16 = Crc16UpdateReference(0xFFFF, data.data(), data.size());
  const std::uint32_t whole32 = Crc32UpdateReference(0xFFFFFFFF, data.data(), data.size());
  const std::size_t pieceSizes[] = {0, 1, 15, 16, 17, 63, 64, 255, 256, 257, 4093, 65536};
  for (const auto& v : CrcVariants()) {
    SCOPED_TRACE(v.Name);
    std::uint16_t reg16 = 0xFFFF;
    std::uint32_t reg32 = 0xFFFFFFFF;
    std::size_t pos = 0;
    for (std::size_t i = 0; pos < data.size(); ++i) {
      const std::size_t n = std::min(pieceSizes[i % std::size(pieceSizes)], data.size() - pos);
      reg16 = v.Crc16(reg16, data.data() + pos, n);
      reg32 = v.Crc32(reg32, data.data() + pos, n);
      pos += n;
    }
    EXPECT_EQ(reg16, whole16);
    EXPECT_EQ(reg32, whole32);
  }
  std::uint16_t reg16 = 0xFFFF;
  std::uint32_t reg32 = 0xFFFFFFFF;
  for (std::size_t pos = 0; pos < 1000; ++pos) {
    reg16 = Crc16Update(reg16, data.data() + pos, 1);
    reg32 = Crc32Update(reg32, data.data() + pos, 1);
  }
  EXPECT_EQ(reg16, Crc16UpdateReference(0xFFFF, data.data(), 1000));
  EXPECT_EQ(reg32, Crc32UpdateReference(0xFFFFFFFF, data.data(), 1000));
}

// Two stretches folded apart, the second from a zero register, join into the whole's register,
// wherever the file is cut; the shift itself is a run of zero bytes.
TEST(Crc, ShiftJoinsStretchesFoldedApart) {
  const auto data = RandomBytes(70000, 6);
  const std::size_t cuts[] = {0, 1, 2, 15, 16, 255, 256, 4096, 65536, 69999, 70000};
  for (const std::uint32_t start : {0xFFFFFFFFu, 0x12345678u, 0u}) {
    const auto start16 = static_cast<std::uint16_t>(start);
    const std::uint16_t whole16 = Crc16UpdateReference(start16, data.data(), data.size());
    const std::uint32_t whole32 = Crc32UpdateReference(start, data.data(), data.size());
    for (const std::size_t cut : cuts) {
      SCOPED_TRACE(cut);
      const std::size_t rest = data.size() - cut;
      const std::uint16_t first16 = Crc16Update(start16, data.data(), cut);
      const std::uint32_t first32 = Crc32Update(start, data.data(), cut);
      EXPECT_EQ(Crc16Shift(first16, rest) ^ Crc16Update(0, data.data() + cut, rest), whole16);
      EXPECT_EQ(Crc32Shift(first32, rest) ^ Crc32Update(0, data.data() + cut, rest), whole32);
    }
  }
  const std::vector<std::uint8_t> zeros(1 << 20, 0);
  for (const std::uint64_t count : {0ull, 1ull, 7ull, 64ull, 1000ull, 1ull << 20}) {
    EXPECT_EQ(Crc16Shift(0xBEEF, count), Crc16UpdateReference(0xBEEF, zeros.data(), count)) << count;
    EXPECT_EQ(Crc32Shift(0xDEADBEEF, count), Crc32UpdateReference(0xDEADBEEF, zeros.data(), count)) << count;
  }
  // Past 4 GiB the shift goes on (a zero register stays zero; the powers cycle with the order of x).
  EXPECT_EQ(Crc32Shift(0, 1ull << 40), 0u);
  EXPECT_NE(Crc32Shift(1, (1ull << 32) + 5), 0u);
}
