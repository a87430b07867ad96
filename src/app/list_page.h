#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "app/run_pacer.h"
#include "engine/run_observer.h"
#include "ui/list_view.h"
#include "ui/panel.h"
#include "ui/status_bar.h"

// What a page of the creation and of the verification window share: an owner-data list whose
// rows come from the page's own records, a status bar of two panels (the counter or final state,
// and a line of text), columns that grow with their widest text, and the showing of a run that
// the engine drives through TRunObserver.
//
// A run's counter, text line and newest rows reach the window at the pace of a TRunPacer, and at
// once whenever the run flushes them (at its end, on a cancel): a status bar repaints at every
// text change and a list at every change of its rows, far dearer than hashing a block or a small
// file. Queued messages run once 5 ms have passed (up to 10 ms where a round of them is slow;
// every time with a pace of 0): a round of the message loop costs more than a small file, and a
// window that answers every few milliseconds is as responsive. Esc and closing still stop the
// run at the next file or block.
class TListPage : public ui::Panel, public TRunObserver {
 public:
  // The pace of pages made from now on; tests set 0 to see every text and every round of messages.
  static inline std::chrono::milliseconds DefaultPaceInterval{50};

  TListPage(ui::Control& parent, const ui::StatusBarArgs& status, const ui::ListViewArgs& list, int namePadding);
  ~TListPage() override;
  TListPage(const TListPage&) = delete;
  TListPage& operator=(const TListPage&) = delete;

  // The status bar's first panel: the counter, "完了" or "キャンセル".
  [[nodiscard]] std::string StateText() const { return StatusBar.PanelText(0); }
  // True while the page's run is on the stack.
  [[nodiscard]] bool Running() const { return running_; }

  // How often this page's run shows its state (see TRunPacer); 0: at every row and block.
  std::chrono::milliseconds PaceInterval = DefaultPaceInterval;

  ui::StatusBar StatusBar;
  ui::ListView ListView;

  // TRunObserver: the counter "n/count", the text line, messages, all at the pace.
  void FileStarting(std::size_t index, std::size_t count) override;
  void SetText(std::string_view text) override;
  void ProcessMessages() override;
  // Messages run at once, unpaced: nothing else waits for the thread.
  void Waiting() override;
  void Settle() override;

 protected:
  // Marks the page running and starts the pace for the extent of a run, also when the run leaves
  // by an error.
  class RunScope {
   public:
    explicit RunScope(TListPage& page);
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;
    ~RunScope();

   private:
    TListPage& page_;
  };

  // The rows have changed: they show with the next showing.
  void RowsChanged();
  // Shows the counter, the text line and the rows now.
  void Flush();
  // Brings the page's rows up to date in the list (row count, selection); called while showing.
  virtual void ShowRows() = 0;
  // Puts a text into the text line at once, in place of the last one.
  void ShowTextNow(std::string text);
  virtual void ListViewData(int index, ui::ListItemData& item) = 0;

  void InitColumnWidths();
  // Widens the column to the text when it is wider than the column.
  void WidenColumn(int column, std::string_view text);

 private:
  void ShowIfDue();
  void Show();

  bool running_ = false;
  int namePadding_;
  bool fixedPitch_ = false;
  std::array<std::size_t, 8> longestMeasured_{};  // per column, display columns
  TRunPacer display_{PaceInterval};
  TRunPacer pump_{PaceInterval};
  std::pair<std::size_t, std::size_t> counter_, counterShown_;  // file number and count
  std::string text_, textShown_;
  bool rowsChanged_ = false;
};
