#include "win/file_path.h"

#include <windows.h>

#include "win/unicode.h"

namespace win {
namespace {

// Folders take a name of up to 12 characters (8.3) below MAX_PATH; anything longer needs the
// extended form.
constexpr std::size_t kLongestPlainPath = MAX_PATH - 12;

std::wstring FullPath(const std::wstring& path) {
  const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return path;
  std::wstring full(length, L'\0');
  const DWORD written = GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
  if (written == 0 || written >= length) return path;
  full.resize(written);
  return full;
}

std::wstring ExtendedWhenLong(std::string_view utf8Path) {
  std::wstring path = WideFromUtf8(utf8Path);
  if (path.size() < kLongestPlainPath || path.starts_with(L"\\\\?\\")) return path;
  path = FullPath(path);
  if (path.starts_with(L"\\\\?\\") || path.starts_with(L"\\\\.\\")) return path;
  if (path.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + path.substr(2);
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
  return path;
}

}  // namespace

std::wstring FileSystemPath(std::string_view utf8Path) {
  std::wstring path = ExtendedWhenLong(utf8Path);
  if (OnFileSystemPath) OnFileSystemPath(path);
  return path;
}

std::string AbsolutePath(std::string_view utf8Path) {
  // An extended-length path is absolute and meant literally (a name ending in "." or " ", a
  // folder named ".."); some GetFullPathNameW versions would still fold it.
  if (utf8Path.starts_with("\\\\?\\")) return std::string(utf8Path);
  return Utf8FromWide(FullPath(WideFromUtf8(utf8Path)));
}

std::wstring PathKey(std::string_view utf8Path) {
  std::wstring path = WideFromUtf8(AbsolutePath(utf8Path));
  if (path.empty()) return path;
  std::wstring upper(path.size(), L'\0');
  const int length = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, path.c_str(), static_cast<int>(path.size()),
                                   upper.data(), static_cast<int>(upper.size()), nullptr, nullptr, 0);
  if (length <= 0) return path;
  upper.resize(static_cast<std::size_t>(length));
  return upper;
}

}  // namespace win
