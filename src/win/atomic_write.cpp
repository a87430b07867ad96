#include "win/atomic_write.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

#include "core/codepage.h"
#include "core/path.h"
#include "win/file_path.h"
#include "win/handle.h"

namespace win {
namespace {

// The temporary file until it has taken the target's place; removed when that did not happen.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::wstring path) : path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    // Best effort: a leftover temporary file harms no list and no settings.
    if (!committed_) DeleteFileW(path_.c_str());
  }
  [[nodiscard]] const std::wstring& Path() const { return path_; }
  void Commit() { committed_ = true; }

 private:
  std::wstring path_;
  bool committed_ = false;
};

// A new, empty file beside the target, named "rvo" + hex digits + ".tmp"; invalid when none can
// be made. Made here rather than by GetTempFileName, which takes no folder beyond MAX_PATH.
KernelHandle CreateTemporaryFile(const std::string& folder, std::wstring& path) {
  static std::atomic<unsigned> serial{0};
  for (int attempt = 0; attempt < 64; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, "rvo%04lX%04X.tmp", GetCurrentProcessId() & 0xFFFF, ++serial & 0xFFFF);
    path = FileSystemPath((folder.empty() ? std::string(".\\") : folder) + name);
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return {};
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes) {
  const std::wstring target = FileSystemPath(path);
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return WriteResult::CannotCreate;
  }

  std::wstring temporaryPath;
  KernelHandle file = CreateTemporaryFile(ExtractFilePath(path, IsNeverLeadByte), temporaryPath);
  if (!file) return WriteResult::CannotCreate;
  TemporaryFile temporary(temporaryPath);
  {
    const KernelHandle written = std::move(file);
    if (!WriteAll(written.get(), bytes) || !FlushFileBuffers(written.get())) return WriteResult::CannotWrite;
  }
  if (!MoveFileExW(temporary.Path().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return WriteResult::CannotCreate;
  }
  temporary.Commit();
  return WriteResult::Written;
}

}  // namespace win
