#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "win/handle.h"

// Files as the program reads them, and the file-system tests. Paths are UTF-8.
namespace win {

// True for an existing file (not a folder).
bool FileExists(const std::string& path);
// True for an existing folder, with or without a trailing "\".
bool DirectoryExists(const std::string& path);

// The error of an Open that found a device, a pipe or anything else that is no file on a disk.
constexpr DWORD kErrorNotAFile = ERROR_BAD_FILE_TYPE;

// A file opened for reading. Writers are refused while it is open (FILE_SHARE_READ), so that
// nobody changes what is being read; settings files allow them (shareWrite). Only files on a
// disk open: a reserved device name (CON, COM1, ...) is refused before it is opened, since
// opening one may wait for the device; a handle of any other type (pipe, FIFO, console) is
// closed again. Both fail with kErrorNotAFile.
class InFile {
 public:
  [[nodiscard]] bool Open(const std::string& path, bool shareWrite = false);
  // A handle of its own on the file that other holds open, with the same access and sharing,
  // placed at offset: another thread reads it without waiting for other's reads.
  [[nodiscard]] bool ReopenAt(const InFile& other, std::uint64_t offset);
  // Why the last Open failed (GetLastError or kErrorNotAFile), 0 after a success.
  [[nodiscard]] DWORD OpenError() const { return openError_; }
  [[nodiscard]] bool IsOpen() const { return file_.valid(); }
  // The size now, or nullopt when it cannot be asked.
  [[nodiscard]] std::optional<std::uint64_t> Size() const;
  // One read of up to count bytes; got is 0 at the end. False on a read error.
  [[nodiscard]] bool Read(void* buffer, DWORD count, DWORD& got) const;
  // Reads until count bytes are there or the file ends; false on a read error.
  [[nodiscard]] bool ReadUpTo(void* buffer, DWORD count, DWORD& got) const;

 private:
  KernelHandle file_;
  DWORD openError_ = 0;
  DWORD readFault_ = 0;  // an injected error that every Read fails with (win/fault_injection)
};

// The whole file when it can be read in full and is at most maxBytes long.
std::optional<std::string> ReadWholeFile(const std::string& path, std::uint64_t maxBytes, bool shareWrite);

// The executable's full path.
std::string ExecutablePath();

}  // namespace win
