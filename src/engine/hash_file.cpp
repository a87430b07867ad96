#include "engine/hash_file.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string_view>

#include "core/codepage.h"
#include "core/crc.h"
#include "core/file_name_rules.h"
#include "core/hex.h"
#include "core/md5.h"
#include "core/path.h"
#include "core/sha.h"
#include "engine/progress_text.h"
#include "engine/read_ahead.h"
#include "win/file.h"
#include "win/user_locale.h"

namespace {

// Crc16Table is filled once at program start by the static initializer of core/crc.cpp, which
// is linked in with Crc16Update, so nothing here builds it again.

constexpr unsigned long kBlockSize = 65536;

// The running checksum of one kind.
class Checksum {
 public:
  explicit Checksum(THashType kind) : kind_(kind) {
    switch (kind_) {
      case THashType::MD5: MD5Init(md5_); break;
      case THashType::SHA1: Sha1Init(sha1_); break;
      case THashType::SHA256: Sha256Init(sha256_); break;
      case THashType::SHA512: Sha512Init(sha512_); break;
      default: break;
    }
  }

  void Fold(const std::uint8_t* data, std::size_t count) {
    switch (kind_) {
      case THashType::CRC16: crc16_ = Crc16Update(crc16_, data, count); break;
      case THashType::CRC32: crc32_ = Crc32Update(crc32_, data, count); break;
      case THashType::SHA1: Sha1Update(sha1_, data, count); break;
      case THashType::SHA256: Sha256Update(sha256_, data, count); break;
      case THashType::SHA512: Sha512Update(sha512_, data, count); break;
      default: MD5Update(md5_, data, static_cast<std::uint32_t>(count)); break;
    }
  }

  std::string Text() {
    switch (kind_) {
      case THashType::CRC16: return HexUpper(crc16_, 4);
      case THashType::CRC32: return HexUpper(~crc32_, 8);
      case THashType::SHA1: return Final(sha1_, Sha1Final, TSha1Digest{});
      case THashType::SHA256: return Final(sha256_, Sha256Final, TSha256Digest{});
      case THashType::SHA512: return Final(sha512_, Sha512Final, TSha512Digest{});
      default: return Final(md5_, MD5Final, TMD5Digest{});
    }
  }

 private:
  template <typename Context, typename Digest>
  static std::string Final(Context& context, void (*final)(Context&, Digest&), Digest digest) {
    final(context, digest);
    return HexUpperBytes(digest.data(), digest.size());
  }

  THashType kind_;
  std::uint16_t crc16_ = 0xFFFF;
  std::uint32_t crc32_ = 0xFFFFFFFF;
  // One context of each digest: a few hundred bytes, on the stack of one call.
  TMD5Context md5_{};
  TSha1Context sha1_{};
  TSha256Context sha256_{};
  TSha512Context sha512_{};
};

THashFailure OpenFailure(DWORD error) {
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

// Files from this size on are read ahead by a thread of their own; below, a thread costs more
// than it saves. Only for the digests: a CRC is far faster than reading, so nothing would
// overlap, and handing blocks between two threads costs more than it saves.
constexpr std::uint64_t kReadAheadFrom = 16u << 20;
constexpr std::size_t kReadAheadBlock = 16 * kBlockSize;
constexpr std::size_t kReadAheadDepth = 3;

// Folds the bytes in blocks of kBlockSize, each followed by the report; false when CancelFlag
// stopped it.
bool FoldBlocks(Checksum& checksum, std::span<const std::uint8_t> bytes, std::int64_t& position, BlockReport& report) {
  for (std::size_t at = 0; at < bytes.size(); at += kBlockSize) {
    if (CancelFlag) return false;
    const std::size_t count = std::min<std::size_t>(kBlockSize, bytes.size() - at);
    checksum.Fold(bytes.data() + at, count);
    position += static_cast<std::int64_t>(count);
    report.Read(position);
  }
  return true;
}

// The file's checksum and size, or why there is none.
THashFailure ReadAndHash(THashType kind, const std::string& fileName, std::string& hashText, std::int64_t& fileSize,
                         BlockReport& report, bool mayReadAhead) {
  Checksum checksum(kind);
  // Share reading only: a file that someone is writing cannot be opened, and nobody can start
  // writing it while it is read.
  win::InFile file;
  if (!file.Open(fileName)) return OpenFailure(file.OpenError());
  const std::optional<std::uint64_t> size = file.Size();
  if (!size) return THashFailure::ReadError;
  report.Opened(static_cast<std::int64_t>(*size));

  std::int64_t position = 0;
  if (mayReadAhead && IsDigestKind(kind) && *size >= kReadAheadFrom) {
    ReadAhead ahead(file, kReadAheadBlock, kReadAheadDepth);
    for (;;) {
      if (CancelFlag) return THashFailure::Cancelled;
      const std::optional<std::span<const std::uint8_t>> block = ahead.Next();
      // A read error part-way is a failure: the bytes so far are not the file's checksum.
      if (!block) return THashFailure::ReadError;
      if (!FoldBlocks(checksum, *block, position, report)) return THashFailure::Cancelled;
      const bool last = block->size() < kReadAheadBlock;
      ahead.Done();
      if (last) break;
    }
  } else {
    // Each call owns its buffer: a nested call, started by a drop while messages run below,
    // reads into its own.
    std::uint8_t buffer[kBlockSize];
    for (;;) {
      if (CancelFlag) return THashFailure::Cancelled;
      DWORD read = 0;
      if (!file.Read(buffer, kBlockSize, read)) return THashFailure::ReadError;
      checksum.Fold(buffer, read);
      position += read;
      report.Read(position);
      if (read < kBlockSize) break;
    }
  }
  // A file that changed size while it was read has no checksum that matches its size.
  if (static_cast<std::uint64_t>(position) != *size) return THashFailure::Changed;

  hashText = checksum.Text();
  fileSize = position;
  return THashFailure::None;
}

THashFailure HashChecked(THashType kind, const std::string& fileName, std::string& hashText, std::int64_t& fileSize,
                         BlockReport& report, bool mayReadAhead) {
  hashText.clear();
  fileSize = 0;
  if (HashTextLength(kind) == 0) return THashFailure::ReadError;
  if (!IsUsablePath(fileName)) return THashFailure::BadName;
  THashFailure failure = THashFailure::ReadError;
  try {
    failure = ReadAndHash(kind, fileName, hashText, fileSize, report, mayReadAhead);
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
                             MessagePump* application, TextPanel* panel) {
  WindowReport report(fileName, application, panel);
  return HashChecked(kind, fileName, hashText, fileSize, report, false);
}

THashFailure HashFileInWorker(THashType kind, const std::string& fileName, std::string& hashText,
                              std::int64_t& fileSize, TFileProgress* progress) {
  WorkerReport report(progress);
  return HashChecked(kind, fileName, hashText, fileSize, report, true);
}

bool HashFile(THashType Kind, const std::string& FileName, std::string& HashText, std::int64_t& FileSize,
              MessagePump* Application, TextPanel* Panel) {
  return HashFileChecked(Kind, FileName, HashText, FileSize, Application, Panel) == THashFailure::None;
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
