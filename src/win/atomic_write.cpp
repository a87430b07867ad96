#include "win/atomic_write.h"

#include <windows.h>

#include "core/path.h"
#include "win/handle.h"
#include "win/user_locale.h"

namespace win {
namespace {

// The temporary file until it has taken the target's place; removed when that did not happen.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    // Best effort: a leftover temporary file harms no list and no settings.
    if (!committed_) DeleteFileA(path_.c_str());
  }
  [[nodiscard]] const std::string& Path() const { return path_; }
  void Commit() { committed_ = true; }

 private:
  std::string path_;
  bool committed_ = false;
};

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
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    return WriteResult::CannotCreate;
  }

  const std::string folder = ExtractFilePath(path, IsAnsiLeadByte);
  char temporaryName[MAX_PATH];
  if (GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "rvo", 0, temporaryName) == 0) {
    return WriteResult::CannotCreate;
  }
  TemporaryFile temporary(temporaryName);
  {
    const KernelHandle file(CreateFileA(temporary.Path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return WriteResult::CannotCreate;
    if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get())) return WriteResult::CannotWrite;
  }
  if (!MoveFileExA(temporary.Path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return WriteResult::CannotCreate;
  }
  temporary.Commit();
  return WriteResult::Written;
}

}  // namespace win
