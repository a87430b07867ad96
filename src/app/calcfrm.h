#pragma once

#include <string>
#include <vector>

#include "core/hash_type.h"
#include "core/listtext.h"
#include "ui/list_view.h"
#include "ui/panel.h"
#include "ui/status_bar.h"

// One list page of the creation window: the rows of the hashed files in an owner-data list (the
// control knows only the row count and asks for the texts of a row when it shows it) and a
// two-panel status bar: the counter or final state, and the progress text or total line.
class TCalcFrame : public ui::Panel {
 public:
  using TCalcItem = ChecksumRow;

  // parent is the tab sheet that holds the page; the frame fills it.
  explicit TCalcFrame(ui::Control& parent);
  ~TCalcFrame() override;

  // Hashes the files one after the other and adds a row per readable file; at the end the page
  // is saved automatically when the options ask for it. folder is the folder the page was made
  // for, with a trailing "\", or empty for loose files. True when the page was saved
  // automatically and is to close ("自動保存後閉じる"). An error of the automatic save leaves
  // through the exception of the list writer.
  bool RunCalc(const std::vector<std::string>& files, const std::string& folder);

  void ListViewData(int index, ui::ListItemData& item);
  void ClearEntries();
  void InitColumnWidths();
  void WidenColumn(int column, const std::string& text);

  // The page's kind, taken from the hash buttons when its run starts (also the frame's Tag).
  [[nodiscard]] THashType Kind() const { return kind_; }
  // The folder of the page's first file without a trailing "\" ("C:" for a drive root); also
  // the frame's hint.
  [[nodiscard]] const std::string& BaseFolder() const { return baseFolder_; }
  // The status bar's first panel: the counter, "完了" or "キャンセル".
  [[nodiscard]] std::string StateText() const { return StatusBar.PanelText(0); }
  // The status bar's second panel: the progress text or the total line.
  [[nodiscard]] std::string TotalText() const { return StatusBar.PanelText(1); }
  // True while RunCalc is on the stack.
  [[nodiscard]] bool Running() const { return running_; }

  // Milliseconds between two updates of the status panels, and between two raises of the list's
  // row count (with a move to the newest row), during a run: both repaint at every change,
  // which per block or per small file would cost more than the hashing. Where they are slow the
  // gaps stretch (see TRunPacer). The run's end and a cancel show the final state at once.
  // Queued messages run at most every 16 ms (every time when this is 0). Tests set 0 to see
  // every text and every round of messages.
  static inline unsigned StatusUpdateInterval = 50;

  ui::ListView ListView;
  ui::StatusBar StatusBar;
  std::vector<TCalcItem> Entries;

 private:
  bool AutoSaveApplies(const std::string& folder) const;
  // Row count of the list := number of entries; selects, focuses and scrolls to the last row.
  void ShowNewestRow();

  THashType kind_ = THashType::None;
  std::string baseFolder_;
  bool running_ = false;
};
