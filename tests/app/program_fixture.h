#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// app_tests runs against the program's real four windows, created once for the whole test
// process by a gtest global environment (program_fixture.cpp registers it). Tests reach them
// through the globals MainForm, CompareForm, CalcForm and CalcViewForm.

namespace apptest {

// Lets every queued message run (the application's own pump).
void PumpMessages();

// Puts the main window's options and hash buttons back to their state after creation, hides the
// four windows and clears the main window's seams, so a test starts from a known state.
void ResetProgramForms();

// Silences the sounds and sends the main window's runs to record (creation: CalcFiles, else
// CompareFiles) instead of the job windows.
void RecordRuns(std::function<void(bool creation, std::vector<std::string>& paths)> record);

// Real input through SendInput, each followed by PumpMessages. The window is brought to the
// front first (its top-level window is made the foreground window).
void ClickWindow(HWND window, int button = 0);  // 0 left, 1 right; at the window's centre
// A key to the window that has the keyboard focus, with Shift and Ctrl held when asked.
void PressKey(WORD virtualKey, bool shift = false, bool ctrl = false);

// A whole file's bytes, or nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::string& path);
// Creates or replaces a file (folders on the way included); throws when it cannot.
void WriteFileBytes(const std::string& path, const std::string& bytes);

// A fresh temporary folder, removed with its contents at destruction; paths end in "\".
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& relative) const { return path_ + relative; }
  void Write(const std::string& relative, const std::string& bytes) const;

 private:
  std::string path_;
};

}  // namespace apptest
