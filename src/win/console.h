#pragma once

#include <string_view>

#include "win/handle.h"

namespace win {

// Where a run without windows writes its lines: the standard output that the starting process
// gave (a pipe or a file), or else the console of the process that started this one. A real
// console gets UTF-16; a pipe or file gets the code page of that console, or the ANSI code page
// without one. Without either, or once a write fails (a closed pipe), lines go nowhere: the run
// goes on all the same.
class ParentConsole {
 public:
  ParentConsole();
  ~ParentConsole();
  ParentConsole(const ParentConsole&) = delete;
  ParentConsole& operator=(const ParentConsole&) = delete;

  // One line (UTF-8, without a line end).
  void WriteLine(std::string_view utf8);

 private:
  bool attached_ = false;
  HANDLE out_ = nullptr;  // not owned unless it is opened_
  KernelHandle opened_;   // CONOUT$, opened when the console gave no standard output
  bool console_ = false;
  bool broken_ = false;
};

}  // namespace win
