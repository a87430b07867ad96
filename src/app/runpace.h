#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "core/progress.h"
#include "ui/status_bar.h"

// How often a run shows its state and lets queued messages run. A status bar repaints at every
// text change, a list at every change of its rows, and a message run costs a trip through the
// window system, all far dearer than hashing a block or a small file; shown at every row and
// block, they would take most of a run's time. Shown at the pace's interval instead, the window
// looks and answers the same to the user. Where showing is slow (a remote or emulated display),
// the pace stretches so that showing takes at most a twentieth of the run.
class TRunPacer {
 public:
  using Clock = std::chrono::steady_clock;

  explicit TRunPacer(std::chrono::milliseconds interval) : interval_(interval) {}

  // True when the pace's gap has passed since the state was last shown; always with interval 0.
  [[nodiscard]] bool Due() const {
    return interval_.count() <= 0 || Clock::now() - shown_ >= std::max<Clock::duration>(interval_, cost_ * kCostShare);
  }
  // Showing starts now; its cost runs until Shown().
  void Begin() { started_ = Clock::now(); }
  // The state was just shown (painted).
  void Shown() {
    shown_ = Clock::now();
    cost_ = started_ != Clock::time_point{} ? shown_ - started_ : Clock::duration::zero();
    started_ = {};
  }
  // Lets queued messages run; they paint what was shown.
  void Pump();

 private:
  static constexpr int kCostShare = 20;  // a gap of at least this many times the cost of showing

  std::chrono::milliseconds interval_;
  Clock::time_point shown_{};
  Clock::time_point started_{};
  Clock::duration cost_{};
};

// What HashFile gets for one file: its progress text goes to the status panel, and messages
// run, at the pace. Without message runs ("処理状況表示"
// off) the text still shows, as the status bar paints it at once.
class TPacedProgress final : public MessagePump, public TextPanel {
 public:
  // beforeShow brings the rest of the page's display up to date right before anything shows.
  TPacedProgress(TRunPacer& pacer, ui::StatusPanel& panel, bool runMessages, std::function<void()> beforeShow)
      : pacer_(pacer), panel_(panel), runMessages_(runMessages), beforeShow_(std::move(beforeShow)) {}

  void SetText(std::string_view text) override;
  void ProcessMessages() override;
  // The pump to hand HashFile: this object when messages run, else none.
  MessagePump* Pump() { return runMessages_ ? this : nullptr; }

 private:
  void Show();

  TRunPacer& pacer_;
  ui::StatusPanel& panel_;
  bool runMessages_;
  std::function<void()> beforeShow_;
  std::string text_;
};
