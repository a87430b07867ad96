#pragma once

#include <windows.h>

#include <optional>
#include <string>

// Another display scale for a process of its own. Wine takes the DPI of the screen from the
// prefix's LogPixels (HKCU\Control Panel\Desktop) once, as a process starts; so a test sets it,
// starts the process and puts it back as soon as the process has a window, and never later than
// the end of the scope, also when the test fails.
namespace testsupport {

class LogPixelsScope {
 public:
  explicit LogPixelsScope(DWORD dpi);
  LogPixelsScope(const LogPixelsScope&) = delete;
  LogPixelsScope& operator=(const LogPixelsScope&) = delete;
  ~LogPixelsScope() { Restore(); }

  // The value as it was (none: no value).
  void Restore() noexcept;

 private:
  std::optional<DWORD> previous_;
  bool restored_ = false;
};

// How a process started at another scale ended.
struct ScaledRun {
  bool started = false;
  bool finished = false;  // false: it did not end in time and was killed
  DWORD exitCode = 0;
  std::string output;  // its standard output and error
};

// Runs `commandLine` (program and arguments) at `dpi`, with RUVO_TEST_DPI=dpi in its environment,
// and waits for its end.
ScaledRun RunAtDpi(int dpi, const std::wstring& commandLine);

// The quoted path of this test executable, for a command line that runs it again.
std::wstring ThisExecutable();

}  // namespace testsupport
