#pragma once
// What the benchmark helpers share: a program started from their own arguments, timed from the
// moment it is created. The helpers build alone, outside the program's libraries, so they carry
// this small owner of their own.
#include <windows.h>

#include <cstdio>
#include <string>

class TimedChild {
 public:
  // Starts argv[first] with the arguments after it; Started() tells whether it ran.
  TimedChild(int argc, char** argv, int first) {
    std::string commandLine;
    for (int i = first; i < argc; ++i) {
      if (i > first) commandLine += ' ';
      commandLine += Quote(argv[i]);
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    QueryPerformanceCounter(&start_);
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_)) {
      std::fprintf(stderr, "cannot start %s (error %lu)\n", argv[first], GetLastError());
      process_ = {};
    }
  }
  TimedChild(const TimedChild&) = delete;
  TimedChild& operator=(const TimedChild&) = delete;
  ~TimedChild() {
    if (process_.hProcess != nullptr) CloseHandle(process_.hProcess);
    if (process_.hThread != nullptr) CloseHandle(process_.hThread);
  }

  [[nodiscard]] bool Started() const { return process_.hProcess != nullptr; }
  [[nodiscard]] HANDLE Process() const { return process_.hProcess; }
  [[nodiscard]] DWORD Id() const { return process_.dwProcessId; }

  // Seconds from the start until now.
  [[nodiscard]] double Seconds() const {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
  }

 private:
  static std::string Quote(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
    return '"' + argument + '"';
  }

  LARGE_INTEGER start_{};
  PROCESS_INFORMATION process_{};
};
