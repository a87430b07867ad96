// A big file's CRC in two halves, the second on a helper thread (this file also runs under
// ThreadSanitizer): the halves joined equal the whole, the helper's progress read while it folds,
// a halt that reaches it, and an exception that ends it as a failure.
#include "core/helper_thread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core/crc.h"

namespace {

std::vector<std::uint8_t> Pattern(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i % 251);
  return bytes;
}

TEST(HelperThread, TwoHalvesOfACrcJoinedEqualTheWhole) {
  constexpr std::size_t kChunk = 4096;
  const std::size_t sizes[] = {0, 1, 2, 3, 1000, 3 * kChunk + 1, (1u << 20) + 3};
  for (const std::size_t size : sizes) {
    SCOPED_TRACE("size " + std::to_string(size));
    const std::vector<std::uint8_t> bytes = Pattern(size);
    const std::size_t half = size / 2;
    std::uint32_t second32 = 0;
    std::uint16_t second16 = 0;
    std::atomic<std::size_t> secondSoFar{0};
    HelperThread helper;
    ASSERT_TRUE(helper.Start([&](const std::atomic<bool>& halt) {
      for (std::size_t at = half; at < size && !halt; at += kChunk) {
        const std::size_t count = std::min(kChunk, size - at);
        second32 = Crc32Update(second32, bytes.data() + at, count);
        second16 = Crc16Update(second16, bytes.data() + at, count);
        secondSoFar.fetch_add(count, std::memory_order_relaxed);
      }
    }));
    std::uint32_t first32 = 0xFFFFFFFF;
    std::uint16_t first16 = 0xFFFF;
    std::size_t shownMost = 0;
    for (std::size_t at = 0; at < half; at += kChunk) {
      const std::size_t count = std::min(kChunk, half - at);
      first32 = Crc32Update(first32, bytes.data() + at, count);
      first16 = Crc16Update(first16, bytes.data() + at, count);
      shownMost = std::max(shownMost, at + count + secondSoFar.load(std::memory_order_relaxed));
    }
    ASSERT_TRUE(helper.Finish());
    EXPECT_LE(shownMost, size);
    ASSERT_EQ(secondSoFar.load(), size - half);
    EXPECT_EQ(Crc32Shift(first32, size - half) ^ second32, Crc32Update(0xFFFFFFFF, bytes.data(), size));
    EXPECT_EQ(Crc16Shift(first16, size - half) ^ second16, Crc16Update(0xFFFF, bytes.data(), size));
  }
}

TEST(HelperThread, AHaltReachesTheWork) {
  bool sawHalt = false;
  HelperThread helper;
  ASSERT_TRUE(helper.Start([&](const std::atomic<bool>& halt) {
    while (!halt) std::this_thread::yield();
    sawHalt = true;
  }));
  helper.Halt();
  EXPECT_TRUE(helper.Finish());
  EXPECT_TRUE(sawHalt);
}

TEST(HelperThread, AnExceptionEndsTheWorkAsAFailure) {
  HelperThread helper;
  ASSERT_TRUE(helper.Start([](const std::atomic<bool>&) { throw std::runtime_error("read"); }));
  EXPECT_FALSE(helper.Finish());
  EXPECT_FALSE(helper.Finish()) << "asked again after the join";
}

}  // namespace
