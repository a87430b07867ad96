#pragma once

#include <string_view>

#include "win/handle.h"

namespace win {

// Where a run without windows writes its lines: the standard output that the starting process
// gave (a pipe or a file), or else the console of the process that started this one; its
// messages go to the standard error in the same way. A real console gets UTF-16
// (WriteConsoleW), so every name shows as it is; a pipe or file gets the code page of that
// console, or the ANSI code page without one, or UTF-8 when utf8 is asked for. Without either,
// lines go nowhere.
class ParentConsole {
 public:
  explicit ParentConsole(bool utf8 = false);
  ~ParentConsole();
  ParentConsole(const ParentConsole&) = delete;
  ParentConsole& operator=(const ParentConsole&) = delete;

  // One line (UTF-8, without a line end). False once a write failed (a closed pipe, a full
  // disk): that line and every later one are lost.
  [[nodiscard]] bool WriteLine(std::string_view utf8);
  // Whether lines go anywhere: a given standard output or the starting process's console.
  [[nodiscard]] bool HasOutput() const;
  // One line on the standard error; nothing when there is none.
  void WriteErrorLine(std::string_view utf8);

 private:
  // Writes the whole line to handle; false when a write failed.
  bool Write(HANDLE handle, std::string_view utf8) const;

  bool attached_ = false;
  bool utf8_ = false;
  HANDLE out_ = nullptr;  // not owned unless it is opened_
  KernelHandle opened_;   // CONOUT$, opened when the console gave no standard output
  bool broken_ = false;
};

}  // namespace win
