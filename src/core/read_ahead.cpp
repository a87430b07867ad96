#include "core/read_ahead.h"

#include <utility>

ReadAhead::ReadAhead(ReadBlock read, std::size_t blockSize, std::size_t depth, CounterWait wait)
    : read_(std::move(read)),
      blockSize_(blockSize),
      wait_(wait),
      blocks_(depth == 0 ? 1 : depth),
      bytes_(std::make_unique_for_overwrite<std::uint8_t[]>(blocks_.size() * blockSize)),
      reader_([this] { Run(); }) {}

ReadAhead::~ReadAhead() {
  stop_ = true;
  // The caller is done with every block now; moving the counter on also ends a wait that began
  // just before stop_ was set.
  taken_ += blocks_.size();
  wait_.wake(taken_);
  reader_.join();
}

void ReadAhead::Run() noexcept {
  for (std::uint64_t index = 0;; ++index) {
    for (std::uint64_t taken = taken_; index >= taken + blocks_.size(); taken = taken_) wait_.wait(taken_, taken);
    if (stop_) return;
    // The block is the reader's alone until filled_ counts it.
    Block& block = blocks_[index % blocks_.size()];
    block.count = 0;
    try {
      block.failed = !read_({BytesOf(index), blockSize_}, block.count);
    } catch (...) {
      block.failed = true;
    }
    const bool last = block.failed || block.count < blockSize_;
    filled_ = index + 1;
    wait_.wake(filled_);
    if (last) return;
  }
}

std::optional<std::span<const std::uint8_t>> ReadAhead::Next() {
  const std::uint64_t taken = taken_;
  for (std::uint64_t filled = filled_; filled <= taken; filled = filled_) wait_.wait(filled_, filled);
  const Block& block = blocks_[taken % blocks_.size()];
  if (block.failed) return std::nullopt;
  return std::span<const std::uint8_t>(BytesOf(taken), block.count);
}

void ReadAhead::Done() {
  ++taken_;
  wait_.wake(taken_);
}
