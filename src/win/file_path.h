#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace win {

// The one form in which every file call takes a path: UTF-16, and beyond MAX_PATH the
// extended-length form ("\\?\C:\..." or "\\?\UNC\server\share\..."), made from the full path so
// that "." and ".." are resolved first. Shorter paths are passed as they are.
std::wstring FileSystemPath(std::string_view utf8Path);

// A seam for tests: when set, called with every path that FileSystemPath gives a file call, on
// whichever thread makes it, so that a test sees what was opened, asked or listed.
inline std::function<void(const std::wstring& path)> OnFileSystemPath;

// The path made absolute against the current folder, as GetFullPathNameW does it: "." and ".."
// resolved, "/" made "\", a reserved device name ("COM1") made "\\.\COM1"; an extended-length
// path stays as it is, literally. A path that cannot be resolved is returned unchanged.
std::string AbsolutePath(std::string_view utf8Path);

// The key under which Windows finds a file: the absolute path (AbsolutePath) in upper case by
// the invariant rules, as NTFS compares names. Two paths with one key name one file (short 8.3
// names aside).
std::wstring PathKey(std::string_view utf8Path);

}  // namespace win
