#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/list_page.h"
#include "app/program_fixture.h"
#include "ui/control.h"
#include "ui/dialogs.h"
#include "ui/text.h"

class TCalcFrame;

// What the creation tests share: the program's real windows reset to their first state, sounds,
// message boxes and the save dialog recorded instead of shown, and temporary folders of files.
namespace calctest {

// The final states of a page's first status panel, as ANSI text.
inline const std::string kDone = ui::Utf8(u8"完了");
inline const std::string kCancelled = ui::Utf8(u8"キャンセル");
inline const std::string kLeftOut = ui::Utf8(u8"除外あり");  // finished, but files have no row

// Two files whose checksums the list examples give: "abc" and 1,234,567 zero bytes.
inline const std::string kAbc = "abc";
std::string Zeros(std::size_t count);

// Puts its function before whatever the control's message-handler slot held, until destroyed.
class SlotTap {
 public:
  SlotTap(ui::Control& control, std::function<void(ui::Message&)> before);
  SlotTap(const SlotTap&) = delete;
  SlotTap& operator=(const SlotTap&) = delete;
  ~SlotTap();

 private:
  ui::Control& control_;
  ui::WindowProcSlot saved_;
};

// The text of a WM_SETTEXT as ANSI; empty for any other message.
std::string SetTextOf(const ui::Message& message);

// The text of a status bar panel being set, or nullopt for another message or panel.
std::optional<std::string> PanelTextOf(const ui::Message& message, int panel);

// The status panels take every text of a run, so a test can act on a particular one.
struct EveryStatusText {
  EveryStatusText() { TListPage::DefaultPaceInterval = std::chrono::milliseconds(0); }
  ~EveryStatusText() { TListPage::DefaultPaceInterval = saved; }
  EveryStatusText(const EveryStatusText&) = delete;
  EveryStatusText& operator=(const EveryStatusText&) = delete;
  std::chrono::milliseconds saved = TListPage::DefaultPaceInterval;
};

// One tab of the creation window as the tests compare it.
struct PageView {
  std::string caption;
  std::string baseFolder;
  std::vector<std::string> names;
  bool operator==(const PageView&) const = default;
};
void PrintTo(const PageView& page, std::ostream* out);
std::vector<PageView> Pages();
std::vector<std::string> Names(const TCalcFrame& frame);

std::string ReadFileBytes(const std::string& path);
bool Exists(const std::string& path);

// A real key press (SendInput) into the creation window, which is brought to the front with the
// keyboard focus in its active page's list; then the queued messages run.
void PressKeyInCalcForm(WORD virtualKey, bool shift = false, bool ctrl = false);

class CalcTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // CalcForm->CalcFiles with a copy of paths.
  void Calc(std::vector<std::string> paths);
  // The temporary folder in its long form, with a trailing "\", and without it (the base folder
  // of a page of its files).
  std::string Root() const { return root_; }
  std::string Base() const { return root_.substr(0, root_.size() - 1); }
  // Where the automatic save puts the list of several files of the temporary folder itself.
  std::string RootListPath(const std::string& ext) const {
    return root_ + Base().substr(Base().rfind('\\') + 1) + "." + ext;
  }
  // Writes a file below the temporary folder (folders on the way are made); returns its path.
  std::string Put(const std::string& relative, const std::string& bytes = {});
  // Makes a folder below the temporary folder; returns its path without a trailing "\".
  std::string Folder(const std::string& relative);

  struct Box {
    std::string text, caption;
    UINT flags;
  };
  std::vector<Box> boxes;  // every message box, answered with boxAnswer
  int boxAnswer = IDCANCEL;
  std::vector<UINT> beeps;                            // the sounds, as beeps (no "sounds" folder)
  std::function<bool(ui::SaveDialog&)> onSaveDialog;  // fails the test when a dialog comes unasked
  int saveDialogs = 0;

 private:
  apptest::TempFolder temp_;
  std::string root_;
  ui::MessageBoxHook savedBoxHook_;
  ui::SaveDialogHook savedDialogHook_;
};

}  // namespace calctest
