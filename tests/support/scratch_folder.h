#pragma once

#include <windows.h>

#include "support/wide_path.h"
#include "win/handle.h"

#include <string>
#include <string_view>

// A fresh folder under the system's temporary folder, removed with everything in it at the end
// of the test. Paths are ANSI bytes; Path() ends in "\" and is in its long form.
class ScratchFolder {
 public:
  ScratchFolder() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    static unsigned serial = 0;
    const std::string candidate =
        std::string(temp) + "ruvo-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
    // A test process that crashed leaves its folders behind, and Wine soon gives its id again.
    if (!CreateDirectoryW(W(candidate).c_str(), nullptr)) {
      RemoveTree(candidate + "\\");
      CreateDirectoryW(W(candidate).c_str(), nullptr);
    }
    char longForm[MAX_PATH];
    const DWORD length = GetLongPathNameA(candidate.c_str(), longForm, MAX_PATH);
    path_ = (length > 0 && length < MAX_PATH ? std::string(longForm, length) : candidate) + "\\";
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() { RemoveTree(path_); }

  const std::string& Path() const { return path_; }
  std::string File(const std::string& relative) const { return path_ + relative; }

  // Writes a file of the given bytes; returns its full path.
  std::string AddFile(const std::string& name, std::string_view bytes = {}) const {
    const std::string full = path_ + name;
    const win::KernelHandle file(
        CreateFileW(W(full).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file) WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return full;
  }
  // The whole file's bytes; empty when it cannot be read.
  std::string Read(const std::string& name) const {
    std::string bytes;
    const win::KernelHandle file(CreateFileW(W((path_ + name)).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    char buffer[65536];
    DWORD got = 0;
    while (file && ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
  }

  // Creates a sub-folder; returns its full path without a trailing "\".
  std::string AddFolder(const std::string& name) const {
    const std::string full = path_ + name;
    CreateDirectoryW(W(full).c_str(), nullptr);
    return full;
  }

 private:
  static void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAW entry;
    const win::FindHandle find(FindFirstFileW(W(folder + "*").c_str(), &entry));
    if (find) {
      do {
        const std::string name = U8(entry.cFileName);
        if (name == "." || name == "..") continue;
        const std::string full = folder + name;
        SetFileAttributesW(W(full).c_str(), FILE_ATTRIBUTE_NORMAL);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          RemoveTree(full + "\\");
        } else {
          DeleteFileW(W(full).c_str());
        }
      } while (FindNextFileW(find.get(), &entry));
    }
    RemoveDirectoryW(W(folder).c_str());
  }

  std::string path_;
};

// The repeating 0..250 byte pattern of the given length.
inline std::string PatternBytes(std::size_t length) {
  std::string bytes(length, '\0');
  for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(i % 251);
  return bytes;
}
