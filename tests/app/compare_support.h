#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/program_fixture.h"
#include "core/hash_type.h"

class TCompareFrame;

namespace comparetest {

// A table-layout list as creation writes it: header, separator, rows (name, hash, size as
// given), closing line and total line; CR LF after every line.
std::string TableList(THashType kind, const std::vector<std::vector<std::string>>& rows);

// The texts a verification page's row shows, read from the list control itself, and its state
// picture index (-1 for none).
struct RowView {
  std::vector<std::string> cells;  // Name, hash, found hash, size, found size, error
  int state = -1;
};
RowView ReadRow(TCompareFrame& frame, int row);

// Records the completion sounds by kind name ("done", "cancel", "question", "error"): the main
// window's sound folder is pointed at a folder holding every WAV file, and playing is recorded.
class SoundLog {
 public:
  SoundLog();
  ~SoundLog();
  SoundLog(const SoundLog&) = delete;
  SoundLog& operator=(const SoundLog&) = delete;
  const std::vector<std::string>& Heard() const { return heard_; }
  void Clear() { heard_.clear(); }

 private:
  apptest::TempFolder folder_;
  std::vector<std::string> heard_;
};

// Real key presses through SendInput, with modifiers held, to the window with the focus;
// queued messages run afterwards.
void PressChord(WORD virtualKey, bool shift = false, bool ctrl = false);

// Removes every tab of the verification window, hides it and clears a terminate request, so
// that every test starts with an empty window.
void ResetCompareForm();

}  // namespace comparetest
