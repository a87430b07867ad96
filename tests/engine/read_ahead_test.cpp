// The blocks a reader thread hands over: the file's bytes in order at every size around the block
// and ring sizes, and a reader that stops part-way when the caller is done early.
#include "engine/read_ahead.h"

#include <gtest/gtest.h>

#include <string>

#include "support/scratch_folder.h"

TEST(ReadAhead, HandsOverTheFileInOrderAndStopsWhenLeftEarly) {
  ScratchFolder folder;
  const std::size_t block = 4096;
  const std::size_t sizes[] = {0, 1, block - 1, block, block + 1, 3 * block, 40 * block + 17};
  for (const std::size_t size : sizes) {
    const std::string bytes = PatternBytes(size);
    const std::string path = folder.AddFile(std::to_string(size) + ".bin", bytes);
    for (const std::size_t depth : {1u, 2u, 8u}) {
      SCOPED_TRACE(testing::Message() << "size " << size << ", depth " << depth);
      win::InFile file;
      ASSERT_TRUE(file.Open(path));
      std::string got;
      {
        ReadAhead ahead(file, block, depth);
        for (;;) {
          const auto next = ahead.Next();
          ASSERT_TRUE(next.has_value());
          got.append(reinterpret_cast<const char*>(next->data()), next->size());
          const bool last = next->size() < block;
          ahead.Done();
          if (last) break;
        }
      }
      EXPECT_EQ(got, bytes);

      // Left after one block, with the reader waiting for room or still reading: it ends.
      win::InFile again;
      ASSERT_TRUE(again.Open(path));
      ReadAhead early(again, block, depth);
      const auto first = early.Next();
      ASSERT_TRUE(first.has_value());
      EXPECT_EQ(std::string(reinterpret_cast<const char*>(first->data()), first->size()), bytes.substr(0, block));
    }
  }
}
