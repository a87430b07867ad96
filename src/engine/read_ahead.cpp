#include "engine/read_ahead.h"

ReadAhead::ReadAhead(const win::InFile& file, std::size_t blockSize, std::size_t depth)
    : file_(file), blockSize_(blockSize), blocks_(depth == 0 ? 1 : depth), reader_([this] { Run(); }) {}

ReadAhead::~ReadAhead() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  reader_.join();
}

void ReadAhead::Run() {
  for (std::size_t index = 0;; ++index) {
    Block* block = nullptr;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return stop_ || index < taken_ + blocks_.size(); });
      if (stop_) return;
      block = &blocks_[index % blocks_.size()];
    }
    // The block is the reader's alone until filled_ counts it.
    block->bytes.resize(blockSize_);
    DWORD got = 0;
    block->failed = !file_.ReadUpTo(block->bytes.data(), static_cast<DWORD>(blockSize_), got);
    block->count = got;
    const bool last = block->failed || got < blockSize_;
    {
      const std::lock_guard lock(mutex_);
      filled_ = index + 1;
    }
    changed_.notify_all();
    if (last) return;
  }
}

std::optional<std::span<const std::uint8_t>> ReadAhead::Next() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return filled_ > taken_; });
  const Block& block = blocks_[taken_ % blocks_.size()];
  if (block.failed) return std::nullopt;
  return std::span<const std::uint8_t>(block.bytes.data(), block.count);
}

void ReadAhead::Done() {
  {
    const std::lock_guard lock(mutex_);
    ++taken_;
  }
  changed_.notify_all();
}
