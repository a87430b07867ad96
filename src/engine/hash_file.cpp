#include "engine/hash_file.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <span>
#include <stop_token>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/blake3.h"
#include "core/codepage.h"
#include "core/file_name_rules.h"
#include "core/helper_thread.h"
#include "core/hex.h"
#include "core/path.h"
#include "core/read_ahead.h"
#include "engine/checksum.h"
#include "engine/progress_text.h"
#include "win/address_wait.h"
#include "win/file.h"
#include "win/processors.h"
#include "win/user_locale.h"

namespace {

constexpr unsigned long kBlockSize = 65536;

// Threads that hash one big BLAKE3 file at most.
constexpr unsigned kMostSubtreeThreads = 16;

// What a hashing call does after the file is open and after every block.
class BlockReport {
 public:
  virtual void Opened(std::int64_t size) = 0;
  virtual void Read(std::int64_t position) = 0;

 protected:
  ~BlockReport() = default;
};

// On the user-interface thread: "name (position/size)" in the panel, and messages run.
class WindowReport final : public BlockReport {
 public:
  WindowReport(const std::string& fileName, MessagePump* application, TextPanel* panel)
      : fileName_(fileName), application_(application), panel_(panel) {}
  void Opened(std::int64_t size) override {
    if (panel_ != nullptr) text_.emplace(fileName_, size);
  }
  void Read(std::int64_t position) override {
    if (text_) panel_->SetText(text_->At(position));
    if (application_ != nullptr) application_->ProcessMessages();
  }

 private:
  const std::string& fileName_;
  MessagePump* application_;
  TextPanel* panel_;
  std::optional<ProgressText> text_;
};

// On a worker: the figures for another thread to show.
class WorkerReport final : public BlockReport {
 public:
  explicit WorkerReport(TFileProgress* progress) : progress_(progress) {}
  void Opened(std::int64_t size) override {
    if (progress_ != nullptr) progress_->size = size;
  }
  void Read(std::int64_t position) override {
    if (progress_ != nullptr) progress_->position.store(position, std::memory_order_relaxed);
  }

 private:
  TFileProgress* progress_;
};

// Big files are read in blocks of 256 KiB, and by two threads: a digest's blocks are read ahead
// by a thread of their own while the caller hashes them. A CRC keeps pace with the system's
// copying, so handing it blocks gains nothing; instead a helper reads and folds the second half
// of the file while the caller does the first. Measured on 1 GiB cached under Wine, the bigger
// block took a sixth less time where hashing keeps pace with reading. Smaller files keep one
// block of 64 KiB on the stack: a block from the heap for each file cost more than the threads
// and the bigger reads save (Wine maps and unmaps every allocation of this size).
constexpr std::uint64_t kBigFileFrom = 16u << 20;
constexpr std::size_t kBigFileBlock = 4 * kBlockSize;
// Eight blocks ahead: 2 MiB, within a core's second-level cache.
constexpr std::size_t kReadAheadDepth = 8;

// Whether folding stops before the next block: the run's cancel, or the halt of one reader of a
// file (the other half failed).
class Stop {
 public:
  explicit Stop(const std::stop_token& cancel, const std::atomic<bool>* halt = nullptr)
      : cancel_(cancel), halt_(halt) {}
  [[nodiscard]] bool Requested() const {
    return cancel_.stop_requested() || (halt_ != nullptr && halt_->load(std::memory_order_relaxed));
  }

 private:
  const std::stop_token& cancel_;
  const std::atomic<bool>* halt_;
};

// Folds the bytes in blocks of kBlockSize, each followed by the report; false when stopped.
bool FoldBlocks(Checksum& checksum, std::span<const std::uint8_t> bytes, std::int64_t& position, BlockReport& report,
                const Stop& stop) {
  for (std::size_t at = 0; at < bytes.size(); at += kBlockSize) {
    if (stop.Requested()) return false;
    const std::size_t count = std::min<std::size_t>(kBlockSize, bytes.size() - at);
    checksum.Fold(bytes.data() + at, count);
    position += static_cast<std::int64_t>(count);
    report.Read(position);
  }
  return true;
}

// Reads from the file's position to its end, or limit bytes, and folds them. None also when the
// file ended early: the position shows it.
THashFailure FoldFile(const win::InFile& file, std::uint64_t limit, bool large, Checksum& checksum,
                      std::int64_t& position, BlockReport& report, const Stop& stop) {
  // Each call owns its buffer: a nested call, started by a drop while messages run below, or a
  // helper thread, reads into its own.
  std::uint8_t stackBlock[kBlockSize];
  std::unique_ptr<std::uint8_t[]> largeBlock;
  std::span<std::uint8_t> buffer(stackBlock);
  if (large) {
    largeBlock = std::make_unique_for_overwrite<std::uint8_t[]>(kBigFileBlock);
    buffer = {largeBlock.get(), kBigFileBlock};
  }
  for (std::uint64_t left = limit;;) {
    if (stop.Requested()) return THashFailure::Cancelled;
    const auto want = static_cast<DWORD>(std::min<std::uint64_t>(buffer.size(), left));
    DWORD read = 0;
    if (!file.Read(buffer.data(), want, read)) return THashFailure::ReadError;
    if (!FoldBlocks(checksum, buffer.first(read), position, report, stop)) return THashFailure::Cancelled;
    // The read that finds the end is reported too: the window's messages run once more.
    if (read == 0) report.Read(position);
    left -= read;
    if (read < want || left == 0) return THashFailure::None;
  }
}

// A digest: the caller hashes while a thread of ReadAhead reads the next blocks; nullopt when no
// second thread could start.
std::optional<THashFailure> FoldReadAhead(const win::InFile& file, Checksum& checksum, std::int64_t& position,
                                          BlockReport& report, const std::stop_token& cancel) {
  const auto read = [&file](std::span<std::uint8_t> block, std::size_t& got) {
    DWORD count = 0;
    const bool ok = file.ReadUpTo(block.data(), static_cast<DWORD>(block.size()), count);
    got = count;
    return ok;
  };
  std::optional<ReadAhead> ahead;
  try {
    // WaitOnAddress: the standard atomics wait through kernel objects with MinGW's threads.
    ahead.emplace(read, kBigFileBlock, kReadAheadDepth,
                  CounterWait{.wait = win::WaitWhileEqual, .wake = win::WakeWaiters});
  } catch (const std::system_error&) {
    return std::nullopt;
  }
  for (;;) {
    if (cancel.stop_requested()) return THashFailure::Cancelled;
    const std::optional<std::span<const std::uint8_t>> block = ahead->Next();
    // A read error part-way is a failure: the bytes so far are not the file's checksum.
    if (!block) return THashFailure::ReadError;
    if (!FoldBlocks(checksum, *block, position, report, Stop(cancel))) return THashFailure::Cancelled;
    const bool last = block->size() < kBigFileBlock;
    ahead->Done();
    if (last) return THashFailure::None;
  }
}

// A CRC's second half, read through a handle of its own and folded from a zero register on a
// thread of its own.
class SecondHalf {
 public:
  SecondHalf(THashType kind, const std::stop_token& cancel)
      : checksum_(Checksum::Continuation(kind)), cancel_(cancel) {}

  // False when no handle or thread could be had: the caller then reads the whole file itself.
  bool Start(const win::InFile& file, std::uint64_t offset) {
    if (!file_.ReopenAt(file, offset)) return false;
    return helper_.Start([this](const std::atomic<bool>& halt) {
      WorkerReport report(&progress_);
      std::int64_t position = 0;
      failure_ = FoldFile(file_, UINT64_MAX, true, checksum_, position, report, Stop(cancel_, &halt));
    });
  }
  // Lets the helper stop before its next block: the first half failed.
  void Halt() { helper_.Halt(); }
  // Waits for the helper; its outcome.
  THashFailure Finish() { return helper_.Finish() ? failure_ : THashFailure::ReadError; }
  [[nodiscard]] std::int64_t BytesSoFar() const { return progress_.position.load(std::memory_order_relaxed); }
  [[nodiscard]] const Checksum& Folded() const { return checksum_; }

 private:
  win::InFile file_;
  Checksum checksum_;
  std::stop_token cancel_;
  TFileProgress progress_;
  THashFailure failure_ = THashFailure::None;
  HelperThread helper_;  // last: its work uses everything above
};

// Reports the first half's position with the bytes of the second half added.
class HalvesReport final : public BlockReport {
 public:
  HalvesReport(BlockReport& report, const SecondHalf& second) : report_(report), second_(second) {}
  void Opened(std::int64_t) override {}
  void Read(std::int64_t position) override { report_.Read(position + second_.BytesSoFar()); }

 private:
  BlockReport& report_;
  const SecondHalf& second_;
};

// A CRC of a big file in two halves on two threads; nullopt when no second thread could start.
std::optional<THashFailure> FoldHalves(const win::InFile& file, THashType kind, std::uint64_t size, Checksum& checksum,
                                       std::int64_t& position, BlockReport& report, const std::stop_token& cancel) {
  const std::uint64_t half = size / 2;
  SecondHalf second(kind, cancel);
  if (!second.Start(file, half)) return std::nullopt;
  HalvesReport halves(report, second);
  THashFailure failure = FoldFile(file, half, true, checksum, position, halves, Stop(cancel));
  if (failure != THashFailure::None) second.Halt();
  const THashFailure secondFailure = second.Finish();
  if (failure == THashFailure::None) failure = secondFailure;
  if (failure != THashFailure::None) return failure;
  // A first half cut short leaves the position short of the size: the caller sees a change.
  if (static_cast<std::uint64_t>(position) == half) checksum.Append(second.Folded(), second.BytesSoFar());
  position += second.BytesSoFar();
  report.Read(position);
  return THashFailure::None;
}

// BLAKE3 of a big file on several threads at once: the file's whole subtrees are handed out in
// order to the caller and its helpers, each reading through a handle of its own, so that one
// thread's reads overlap the others' hashing; the subtrees' chaining values are joined at the root.
class Subtrees {
 public:
  Subtrees(const win::InFile& file, std::uint64_t size, unsigned threads, const std::stop_token& cancel)
      : file_(file),
        size_(size),
        subtreeBytes_(Blake3SubtreeBytes(size, threads)),
        cvs_((size + subtreeBytes_ - 1) / subtreeBytes_),
        cancel_(cancel),
        helpers_(threads - 1) {}

  // nullopt when no helper could start: the caller then reads the whole file itself.
  std::optional<THashFailure> Fold(std::string& hashText, std::int64_t& position, BlockReport& report) {
    std::size_t started = 0;
    for (TWorker& helper : helpers_) {
      if (!helper.thread.Start([this, &helper](const std::atomic<bool>& halt) {
            helper.failure = Work(Stop(cancel_, &halt), nullptr);
          })) {
        break;
      }
      ++started;
    }
    if (started == 0) return std::nullopt;
    THashFailure failure = Work(Stop(cancel_, &halt_), &report);
    for (std::size_t i = 0; i < started; ++i) {
      if (failure != THashFailure::None) helpers_[i].thread.Halt();
      const THashFailure helper = helpers_[i].thread.Finish() ? helpers_[i].failure : THashFailure::ReadError;
      // The others stopped for the failure that halted them: it is the file's, not their stop.
      if (failure == THashFailure::None || failure == THashFailure::Cancelled) {
        if (helper != THashFailure::None) failure = helper;
      }
    }
    position = done_.load();
    report.Read(position);
    if (failure != THashFailure::None) return failure;
    // A file cut short leaves the position short of the size: the caller sees a change.
    if (static_cast<std::uint64_t>(position) != size_) return THashFailure::None;
    TBlake3Digest digest;
    Blake3JoinSubtrees(cvs_, digest);
    hashText = HexUpperBytes(digest.data(), digest.size());
    return THashFailure::None;
  }

 private:
  // Adds one thread's bytes to the file's; the caller's also tells the run.
  class SharedReport final : public BlockReport {
   public:
    SharedReport(std::atomic<std::int64_t>& done, BlockReport* outer) : done_(done), outer_(outer) {}
    void Opened(std::int64_t) override {}
    void Read(std::int64_t position) override {
      const std::int64_t total = done_.fetch_add(position - last_) + (position - last_);
      last_ = position;
      if (outer_ != nullptr) outer_->Read(total);
    }
    void Restart() { last_ = 0; }

   private:
    std::atomic<std::int64_t>& done_;
    BlockReport* outer_;
    std::int64_t last_ = 0;
  };

  struct TWorker {
    HelperThread thread;
    THashFailure failure = THashFailure::None;
  };

  // Takes subtrees until none is left; the first failure makes the others stop.
  THashFailure Work(const Stop& stop, BlockReport* outer) {
    SharedReport report(done_, outer);
    for (;;) {
      const std::size_t index = next_.fetch_add(1);
      if (index >= cvs_.size()) return THashFailure::None;
      const std::uint64_t offset = index * subtreeBytes_;
      win::InFile file;
      THashFailure failure = THashFailure::ReadError;
      if (file.ReopenAt(file_, offset)) {
        Checksum checksum = Checksum::Blake3Subtree(offset / kBlake3ChunkBytes);
        std::int64_t position = 0;
        report.Restart();
        // The last subtree reads on to the end: a file that grew shows in the total.
        const bool last = index + 1 == cvs_.size();
        failure = FoldFile(file, last ? UINT64_MAX : subtreeBytes_, true, checksum, position, report, stop);
        const std::uint64_t want = std::min(subtreeBytes_, size_ - offset);
        if (failure == THashFailure::None && static_cast<std::uint64_t>(position) == want) {
          cvs_[index] = checksum.SubtreeCv();
          continue;
        }
        // A subtree cut short: the file changed, which the total shows.
        if (failure == THashFailure::None) return failure;
      }
      halt_ = true;
      for (TWorker& helper : helpers_) helper.thread.Halt();
      return failure;
    }
  }

  const win::InFile& file_;
  std::uint64_t size_;
  std::uint64_t subtreeBytes_;
  std::vector<TBlake3Cv> cvs_;
  std::atomic<std::size_t> next_{0};
  std::atomic<std::int64_t> done_{0};
  std::atomic<bool> halt_{false};
  std::stop_token cancel_;
  std::vector<TWorker> helpers_;  // last: their work uses everything above
};

// What to hash with: the kind and the digest's length (0: the kind's own).
struct THashKind {
  THashType kind;
  std::size_t digestBytes;
};

// The file's checksum and size, or why there is none.
THashFailure ReadAndHash(THashKind hash, const std::string& fileName, std::string& hashText, std::int64_t& fileSize,
                         BlockReport& report, bool mayUseThreads, const std::stop_token& cancel) {
  const THashType kind = hash.kind;
  Checksum checksum(kind, hash.digestBytes);
  // Share reading only: a file that someone is writing cannot be opened, and nobody can start
  // writing it while it is read.
  win::InFile file;
  if (!file.Open(fileName)) return FailureOfError(file.OpenError());
  const std::optional<std::uint64_t> size = file.Size();
  if (!size) return THashFailure::ReadError;
  report.Opened(static_cast<std::int64_t>(*size));

  std::int64_t position = 0;
  std::optional<THashFailure> failure;
  if (mayUseThreads && *size >= kBigFileFrom && kind == THashType::BLAKE3) {
    const unsigned threads = std::min(win::UsableProcessorCount(), kMostSubtreeThreads);
    if (threads > 1) {
      failure = Subtrees(file, *size, threads, cancel).Fold(hashText, position, report);
      if (failure && *failure == THashFailure::None && static_cast<std::uint64_t>(position) == *size) {
        fileSize = position;
        return THashFailure::None;
      }
    }
  }
  if (!failure && mayUseThreads && *size >= kBigFileFrom) {
    failure = IsDigestKind(kind) ? FoldReadAhead(file, checksum, position, report, cancel)
                                 : FoldHalves(file, kind, *size, checksum, position, report, cancel);
  }
  if (!failure) failure = FoldFile(file, UINT64_MAX, *size >= kBigFileFrom, checksum, position, report, Stop(cancel));
  if (*failure != THashFailure::None) return *failure;
  // A file that changed size while it was read has no checksum that matches its size.
  if (static_cast<std::uint64_t>(position) != *size) return THashFailure::Changed;

  hashText = checksum.Text();
  fileSize = position;
  return THashFailure::None;
}

THashFailure HashChecked(THashKind hash, const std::string& fileName, std::string& hashText, std::int64_t& fileSize,
                         BlockReport& report, bool mayUseThreads, const std::stop_token& cancel) {
  hashText.clear();
  fileSize = 0;
  if (HashTextLength(hash.kind) == 0 || !Checksum::Accepts(hash.kind, hash.digestBytes)) return THashFailure::ReadError;
  if (!IsUsablePath(fileName)) return THashFailure::BadName;
  THashFailure failure = THashFailure::ReadError;
  try {
    failure = ReadAndHash(hash, fileName, hashText, fileSize, report, mayUseThreads, cancel);
    if (failure == THashFailure::None) return failure;
  } catch (...) {
    // Every failure while a file is hashed shows only in the result.
  }
  hashText.clear();
  fileSize = 0;
  return failure;
}

}  // namespace

THashFailure HashFileChecked(THashType kind, const std::string& fileName, std::string& hashText, std::int64_t& fileSize,
                             MessagePump* application, TextPanel* panel, std::size_t digestBytes,
                             const std::stop_token& cancel) {
  WindowReport report(fileName, application, panel);
  return HashChecked({kind, digestBytes}, fileName, hashText, fileSize, report, false, cancel);
}

THashFailure HashFileInWorker(THashType kind, const std::string& fileName, std::string& hashText,
                              std::int64_t& fileSize, TFileProgress* progress, std::size_t digestBytes,
                              const std::stop_token& cancel) {
  WorkerReport report(progress);
  return HashChecked({kind, digestBytes}, fileName, hashText, fileSize, report, true, cancel);
}

bool HashFile(THashType Kind, const std::string& FileName, std::string& HashText, std::int64_t& FileSize,
              MessagePump* Application, TextPanel* Panel, std::size_t DigestBytes, const std::stop_token& Cancel) {
  return HashFileChecked(Kind, FileName, HashText, FileSize, Application, Panel, DigestBytes, Cancel) ==
         THashFailure::None;
}

THashFailure FailureOfError(unsigned long error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH: return THashFailure::NotFound;
    case ERROR_ACCESS_DENIED: return THashFailure::AccessDenied;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return THashFailure::InUse;
    case win::kErrorNotAFile: return THashFailure::NotAFile;
    default: return THashFailure::ReadError;
  }
}

std::u8string HashFailureText(THashFailure reason) {
  switch (reason) {
    case THashFailure::NotFound: return u8"見つかりません";
    case THashFailure::AccessDenied: return u8"アクセス拒否";
    case THashFailure::InUse: return u8"使用中";
    case THashFailure::Changed: return u8"読込中に変更";
    case THashFailure::BadName: return u8"名前が不正";
    case THashFailure::NotAFile: return u8"ファイルではない";
    default: return u8"読込エラー";
  }
}
