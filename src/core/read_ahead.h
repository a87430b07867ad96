#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <thread>
#include <vector>

#include "core/counter_wait.h"

// Reads a file's blocks on a thread of its own, a few blocks ahead of the caller, so that the
// reading (the system copying the file's bytes) and the hashing run on two cores at once. Only
// worth its thread for a big file.
class ReadAhead {
 public:
  // Fills block from the file's position, as far as the file goes: got is less than the block's
  // size only at the end. False on a read error; an exception counts as one.
  using ReadBlock = std::function<bool(std::span<std::uint8_t> block, std::size_t& got)>;

  // The blocks are allocated here and the thread started here, so that a failure of either is
  // the caller's exception (std::bad_alloc, std::system_error) and never the reader's.
  ReadAhead(ReadBlock read, std::size_t blockSize, std::size_t depth, CounterWait wait = {});
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // The next block, shorter than the block size at the end of the file (empty when the file
  // ends on a block's end); nullopt after a read error. The block stays valid until Done.
  std::optional<std::span<const std::uint8_t>> Next();
  void Done();

 private:
  struct Block {
    std::size_t count = 0;
    bool failed = false;
  };
  void Run() noexcept;
  [[nodiscard]] std::uint8_t* BytesOf(std::uint64_t index) const {
    return bytes_.get() + index % blocks_.size() * blockSize_;
  }

  const ReadBlock read_;
  const std::size_t blockSize_;
  const CounterWait wait_;
  std::vector<Block> blocks_;
  std::unique_ptr<std::uint8_t[]> bytes_;  // the blocks' bytes, one after another
  // Each counter is moved on by one thread only and waited on by the other.
  std::atomic<std::uint64_t> filled_{0};  // blocks read so far
  std::atomic<std::uint64_t> taken_{0};   // blocks the caller is done with
  std::atomic<bool> stop_{false};
  std::thread reader_;  // last: it uses everything above
};
