#pragma once

#include <string>

// Failures made on purpose: tests let the calls of this layer that list folders, open files and
// read them fail with a chosen error, to prove that every such failure becomes an outcome. Never
// armed outside tests; then each call costs one atomic load.
namespace win {

// FindFirstFileW, FindNextFileW, CreateFileW (InFile::Open) and ReadFile (InFile::Read).
enum class FaultCall : unsigned char { ListFirst, ListNext, Open, Read };

// While one lives, every call of its kind on a path that ends with pathEnd fails with error (a
// Win32 error code). A listing's path is the folder with its trailing "\"; a read's is the path
// the file was opened with. Faults nest; the newest that matches wins.
class InjectedFault {
 public:
  InjectedFault(FaultCall call, std::string pathEnd, unsigned long error);
  ~InjectedFault();
  InjectedFault(const InjectedFault&) = delete;
  InjectedFault& operator=(const InjectedFault&) = delete;
};

// The error that the call on path is to fail with, 0 when it is to be made. Any thread.
unsigned long InjectedError(FaultCall call, const std::string& path);

}  // namespace win
