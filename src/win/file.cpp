#include "win/file.h"

#include "core/file_name_rules.h"
#include "win/fault_injection.h"
#include "win/file_path.h"
#include "win/unicode.h"

namespace win {

namespace {

// The attributes of what the path names; none for a device name, which is never asked: asking
// may open the device and wait for it.
DWORD Attributes(const std::string& path) {
  if (NamesReservedDevice(path)) return INVALID_FILE_ATTRIBUTES;
  return GetFileAttributesW(FileSystemPath(path).c_str());
}

}  // namespace

bool FileExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::string& path) {
  const DWORD attributes = Attributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool InFile::Open(const std::string& path, bool shareWrite) {
  file_.reset();
  if (NamesReservedDevice(path)) {
    openError_ = kErrorNotAFile;
    return false;
  }
  readFault_ = InjectedError(FaultCall::Read, path);
  if (const DWORD error = InjectedError(FaultCall::Open, path)) {
    openError_ = error;
    return false;
  }
  const DWORD share = FILE_SHARE_READ | (shareWrite ? FILE_SHARE_WRITE : 0);
  file_.reset(CreateFileW(FileSystemPath(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  openError_ = file_.valid() ? 0 : GetLastError();
  if (file_.valid() && GetFileType(file_.get()) != FILE_TYPE_DISK) {
    file_.reset();
    openError_ = kErrorNotAFile;
  }
  return file_.valid();
}

bool InFile::ReopenAt(const InFile& other, std::uint64_t offset) {
  // Only a file opened without shareWrite is reopened: its sharing is read only.
  file_.reset(ReOpenFile(other.file_.get(), GENERIC_READ, FILE_SHARE_READ, 0));
  readFault_ = other.readFault_;
  openError_ = file_.valid() ? 0 : GetLastError();
  LARGE_INTEGER to{};
  to.QuadPart = static_cast<LONGLONG>(offset);
  if (file_.valid() && !SetFilePointerEx(file_.get(), to, nullptr, FILE_BEGIN)) {
    openError_ = GetLastError();
    file_.reset();
  }
  return file_.valid();
}

std::optional<std::uint64_t> InFile::Size() const {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file_.get(), &size) || size.QuadPart < 0) return std::nullopt;
  return static_cast<std::uint64_t>(size.QuadPart);
}

bool InFile::Read(void* buffer, DWORD count, DWORD& got) const {
  got = 0;
  if (readFault_ != 0) {
    SetLastError(readFault_);
    return false;
  }
  return ReadFile(file_.get(), buffer, count, &got, nullptr) != FALSE;
}

bool InFile::ReadUpTo(void* buffer, DWORD count, DWORD& got) const {
  got = 0;
  while (got < count) {
    DWORD n = 0;
    if (!Read(static_cast<char*>(buffer) + got, count - got, n)) return false;
    if (n == 0) break;
    got += n;
  }
  return true;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::uint64_t maxBytes, bool shareWrite) {
  InFile file;
  if (!file.Open(path, shareWrite)) return std::nullopt;
  const std::optional<std::uint64_t> size = file.Size();
  if (!size || *size > maxBytes) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(*size), '\0');
  DWORD got = 0;
  if (!file.ReadUpTo(bytes.data(), static_cast<DWORD>(bytes.size()), got) || got != bytes.size()) return std::nullopt;
  return bytes;
}

std::string ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return Utf8FromWide(path);
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace win
