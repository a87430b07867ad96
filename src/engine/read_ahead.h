#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <span>
#include <thread>
#include <vector>

#include "win/file.h"

// Reads a file's blocks on a thread of its own, a few blocks ahead of the caller, so that the
// reading (the system copying the file's bytes) and the hashing run on two cores at once. Only
// worth its thread for a big file.
class ReadAhead {
 public:
  ReadAhead(const win::InFile& file, std::size_t blockSize, std::size_t depth);
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // The next block, shorter than the block size at the end of the file (empty when the file
  // ends on a block's end); nullopt after a read error. The block stays valid until Done.
  std::optional<std::span<const std::uint8_t>> Next();
  void Done();

 private:
  struct Block {
    std::vector<std::uint8_t> bytes;
    std::size_t count = 0;
    bool failed = false;
  };
  void Run();

  const win::InFile& file_;
  const std::size_t blockSize_;
  std::vector<Block> blocks_;
  // Each counter is moved on by one thread only and waited on by the other.
  std::atomic<std::uint64_t> filled_{0};  // blocks read so far
  std::atomic<std::uint64_t> taken_{0};   // blocks the caller is done with
  std::atomic<bool> stop_{false};
  std::thread reader_;  // last: it uses everything above
};
