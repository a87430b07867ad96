// The blocks a reader thread hands over (this file also runs under ThreadSanitizer): the bytes in
// order at every size around the block and ring sizes, a read error or exception midway, and a
// reader that stops when the caller is done early.
#include "core/read_ahead.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace {

constexpr std::size_t kBlock = 4096;

std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i % 251);
  return bytes;
}

// Reads bytes like a file: full blocks until the end. failAt: the read that fails (by its
// result, or by an exception when throws), counting from 0.
ReadAhead::ReadBlock MemoryReader(const std::string& bytes, std::size_t failAt = SIZE_MAX, bool throws = false) {
  return [&bytes, failAt, throws, at = std::size_t{0}, reads = std::size_t{0}](std::span<std::uint8_t> block,
                                                                               std::size_t& got) mutable {
    if (reads++ == failAt) {
      if (throws) throw std::runtime_error("read");
      return false;
    }
    got = std::min(block.size(), bytes.size() - at);
    std::copy_n(bytes.data() + at, got, block.data());
    at += got;
    return true;
  };
}

// Every block until the last or a failure; false after a failure.
bool ReadAll(ReadAhead& ahead, std::string& got) {
  for (;;) {
    const auto next = ahead.Next();
    if (!next) return false;
    got.append(reinterpret_cast<const char*>(next->data()), next->size());
    const bool last = next->size() < kBlock;
    ahead.Done();
    if (last) return true;
  }
}

TEST(ReadAhead, HandsOverTheBytesInOrderAndStopsWhenLeftEarly) {
  const std::size_t sizes[] = {0, 1, kBlock - 1, kBlock, kBlock + 1, 3 * kBlock, 40 * kBlock + 17};
  for (const std::size_t size : sizes) {
    const std::string bytes = Pattern(size);
    for (const std::size_t depth : {0u, 1u, 2u, 8u}) {
      SCOPED_TRACE(testing::Message() << "size " << size << ", depth " << depth);
      std::string got;
      {
        ReadAhead ahead(MemoryReader(bytes), kBlock, depth);
        EXPECT_TRUE(ReadAll(ahead, got));
      }
      EXPECT_EQ(got, bytes);

      // Left after one block, with the reader waiting for room or still reading: it ends.
      ReadAhead early(MemoryReader(bytes), kBlock, depth);
      const auto first = early.Next();
      ASSERT_TRUE(first.has_value());
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(first->data()), first->size()), bytes.substr(0, kBlock));
    }
  }
}

TEST(ReadAhead, AFailedReadEndsTheBlocksAfterTheOnesBefore) {
  const std::string bytes = Pattern(10 * kBlock);
  for (const bool throws : {false, true}) {
    for (const std::size_t failAt : {0u, 1u, 5u}) {
      SCOPED_TRACE(testing::Message() << "read " << failAt << (throws ? " throws" : " fails"));
      ReadAhead ahead(MemoryReader(bytes, failAt, throws), kBlock, 2);
      std::string got;
      EXPECT_FALSE(ReadAll(ahead, got));
      EXPECT_EQ(got, bytes.substr(0, failAt * kBlock));
    }
  }
}

}  // namespace
