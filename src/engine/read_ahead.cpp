#include "engine/read_ahead.h"

#include "win/address_wait.h"

ReadAhead::ReadAhead(const win::InFile& file, std::size_t blockSize, std::size_t depth)
    : file_(file), blockSize_(blockSize), blocks_(depth == 0 ? 1 : depth), reader_([this] { Run(); }) {}

ReadAhead::~ReadAhead() {
  stop_ = true;
  // The caller is done with every block now; moving the counter on also ends a wait that began
  // just before stop_ was set.
  taken_ += blocks_.size();
  win::WakeWaiters(taken_);
  reader_.join();
}

void ReadAhead::Run() {
  for (std::uint64_t index = 0;; ++index) {
    for (std::uint64_t taken = taken_; index >= taken + blocks_.size(); taken = taken_) {
      win::WaitWhileEqual(taken_, taken);
    }
    if (stop_) return;
    // The block is the reader's alone until filled_ counts it.
    Block& block = blocks_[index % blocks_.size()];
    block.bytes.resize(blockSize_);
    DWORD got = 0;
    block.failed = !file_.ReadUpTo(block.bytes.data(), static_cast<DWORD>(blockSize_), got);
    block.count = got;
    const bool last = block.failed || got < blockSize_;
    filled_ = index + 1;
    win::WakeWaiters(filled_);
    if (last) return;
  }
}

std::optional<std::span<const std::uint8_t>> ReadAhead::Next() {
  const std::uint64_t taken = taken_;
  for (std::uint64_t filled = filled_; filled <= taken; filled = filled_) win::WaitWhileEqual(filled_, filled);
  const Block& block = blocks_[taken % blocks_.size()];
  if (block.failed) return std::nullopt;
  return std::span<const std::uint8_t>(block.bytes.data(), block.count);
}

void ReadAhead::Done() {
  ++taken_;
  win::WakeWaiters(taken_);
}
