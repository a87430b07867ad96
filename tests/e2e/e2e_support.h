#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "win/handle.h"

// End-to-end support: each test gets its own copy of ruvo.exe in a fresh temporary folder, so the
// settings file (ruvo.ini beside the exe) and the optional "sounds" folder belong to that test alone.
// Paths are ANSI bytes, as the program itself sees them.
namespace e2e {

using namespace std::chrono_literals;

// How one run of ruvo.exe ended.
struct RunResult {
  bool finished = false;  // false: it did not end in time and was killed
  DWORD exitCode = 0;
};

class RuvoProcess;

// A run whose standard output was a pipe: how it ended and every byte it wrote there.
struct CapturedRun {
  RunResult result;
  std::string output;
};

// A temporary folder holding a copy of ruvo.exe (taken from beside the test executable); removed
// with everything in it when the object goes.
class RuvoSandbox {
 public:
  RuvoSandbox();
  // The same in the given folder (with its trailing "\"), emptied first: a path that does not
  // change from run to run.
  explicit RuvoSandbox(std::string folder);
  ~RuvoSandbox();
  RuvoSandbox(const RuvoSandbox&) = delete;
  RuvoSandbox& operator=(const RuvoSandbox&) = delete;

  // The folder, with a trailing "\".
  const std::string& Folder() const { return folder_; }
  // Folder() + relative.
  std::string Path(std::string_view relative) const;
  std::string ExePath() const { return exePath_.empty() ? Path("ruvo.exe") : exePath_; }
  // Beside the exe, wherever it is.
  std::string IniPath() const { return ExePath().substr(0, ExePath().size() - 4) + ".ini"; }
  // Runs the exe from a copy in the sandbox's folder `relative` (UTF-8, with a trailing ""; made
  // as needed) from now on: a path with blanks or characters outside the code page.
  void MoveExe(std::string_view relative);

  // Files inside the sandbox (relative names; folders on the way are created).
  void WriteFile(std::string_view relative, std::string_view bytes) const;
  std::optional<std::string> ReadFile(std::string_view relative) const;
  void MakeFolder(std::string_view relative) const;

  void WriteIni(std::string_view text) const;
  std::optional<std::string> ReadIni() const;

  // Starts ruvo.exe with `arguments` (the command-line text after the program's own quoted name),
  // working folder the sandbox or the sandbox's `workingFolder`.
  RuvoProcess Start(std::string_view arguments = {}, std::string_view workingFolder = {}) const;
  // Start, then wait for the end; a process still alive after `timeout` is killed.
  RunResult Run(std::string_view arguments = {}, std::chrono::milliseconds timeout = 60s) const;
  // Start without any standard handle and without a console to attach to, as from a shortcut.
  RuvoProcess StartWithoutOutput(std::string_view arguments) const;
  RunResult RunIn(std::string_view workingFolder, std::string_view arguments,
                  std::chrono::milliseconds timeout = 60s) const;
  // Run with standard output and error on one pipe, read to its end. readerGone closes the
  // pipe's reading end first, so that every write of the program fails.
  CapturedRun RunCaptured(std::string_view arguments, bool readerGone = false, std::chrono::milliseconds timeout = 60s,
                          std::string_view workingFolder = {}) const;

 private:
  RuvoProcess Launch(std::string_view arguments, std::string_view workingFolder, HANDLE output,
                     bool detached = false) const;

  std::string folder_;
  std::string exePath_;
};

// One running ruvo.exe. Destruction kills it if it is still running, so a failed test leaves no
// program behind.
class RuvoProcess {
 public:
  RuvoProcess(win::KernelHandle process, DWORD processId);
  RuvoProcess(RuvoProcess&&) noexcept = default;
  RuvoProcess& operator=(RuvoProcess&&) noexcept = default;
  ~RuvoProcess();

  DWORD Id() const { return processId_; }
  HANDLE Handle() const { return process_.get(); }

  // Waits for the end; kills the process and reports finished = false after `timeout`.
  RunResult Wait(std::chrono::milliseconds timeout = 60s);
  bool Running() const;
  void Kill();

  // The first visible top-level window of this process with exactly this caption (UTF-8), polled
  // until `timeout`; nullptr when none appeared.
  HWND WaitForWindow(std::u8string_view caption, std::chrono::milliseconds timeout = 30s) const;
  // Every visible top-level window of the process.
  std::vector<HWND> VisibleWindows() const;

 private:
  win::KernelHandle process_;
  DWORD processId_ = 0;
};

// A real key press and release (SendInput) aimed at `window`, which is brought to the front first.
void PressKey(HWND window, WORD virtualKey);

// The caption of a window as UTF-8.
std::u8string WindowCaption(HWND window);

// The text of one pane of the first visible status bar inside `window` (of another process), as
// UTF-8; empty when there is none.
std::u8string StatusBarText(HWND window, int pane);

}  // namespace e2e
