#include "app/calcfile.h"

#include <windows.h>

#include "app/ansi.h"
#include "core/path.h"
#include "ui/handles.h"
#include "ui/text.h"

namespace {

[[noreturn]] void CannotCreate(const std::string& path) {
  throw TListFileError(ui::Ansi(u8"ファイル ") + path + ui::Ansi(u8" を作成できません"));
}

[[noreturn]] void CannotWrite() { throw TListFileError(ui::Ansi(u8"ストリームへの書き込みに失敗しました")); }

// The temporary file until it has taken the list's place; removed when that did not happen.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    // Best effort: a leftover temporary file harms no list.
    if (!committed_) DeleteFileA(path_.c_str());
  }
  [[nodiscard]] const std::string& Path() const { return path_; }
  void Commit() { committed_ = true; }

 private:
  std::string path_;
  bool committed_ = false;
};

void WriteAll(HANDLE file, std::string_view text) {
  while (!text.empty()) {
    const DWORD chunk = text.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(text.size());
    DWORD written = 0;
    if (!WriteFile(file, text.data(), chunk, &written, nullptr) || written == 0) CannotWrite();
    text.remove_prefix(written);
  }
}

}  // namespace

void WriteListFile(const std::string& path, std::string_view text) {
  // Replacing would succeed where creating the file anew is refused: keep the refusal.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    CannotCreate(path);
  }

  const std::string folder = ExtractFilePath(path, IsAnsiLeadByte);
  char temporaryName[MAX_PATH];
  if (GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "rvo", 0, temporaryName) == 0) CannotCreate(path);
  TemporaryFile temporary(temporaryName);
  {
    const UniqueHandle file(CreateFileA(temporary.Path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) CannotCreate(path);
    WriteAll(file.get(), text);
    if (!FlushFileBuffers(file.get())) CannotWrite();
  }
  if (!MoveFileExA(temporary.Path().c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    CannotCreate(path);
  }
  temporary.Commit();
}
