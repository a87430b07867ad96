#pragma once

#include <algorithm>
#include <chrono>

// How often a run shows its state and lets queued messages run. A status bar repaints at every
// text change, a list at every change of its rows, and a message run costs a trip through the
// window system, all far dearer than hashing a block or a small file; shown at every row and
// block, they would take most of a run's time. Shown at the pace's interval instead, the window
// looks and answers the same to the user. Where showing is slow (a remote or emulated display),
// the pace stretches so that showing takes at most a twentieth of the run.
class TRunPacer {
 public:
  using Clock = std::chrono::steady_clock;
  // Where the pacer reads the time: the steady clock, or a test's own that moves when told.
  using NowFunction = Clock::time_point (*)();

  // The gap never stretches beyond longest (0: no such bound): messages must still be answered
  // soon.
  explicit TRunPacer(std::chrono::milliseconds interval, std::chrono::milliseconds longest = {},
                     NowFunction now = &Clock::now)
      : interval_(interval), longest_(longest), now_(now) {}

  // True when the pace's gap has passed since the state was last shown; always with interval 0.
  [[nodiscard]] bool Due() const {
    if (interval_.count() <= 0) return true;
    Clock::duration gap = std::max<Clock::duration>(interval_, cost_ * kCostShare);
    if (longest_.count() > 0) gap = std::min<Clock::duration>(gap, longest_);
    return now_() - shown_ >= gap;
  }
  // Showing starts now; its cost runs until Shown().
  void Begin() { started_ = now_(); }
  // The state was just shown (painted).
  void Shown() {
    shown_ = now_();
    cost_ = started_ != Clock::time_point{} ? shown_ - started_ : Clock::duration::zero();
    started_ = {};
  }
  // Lets queued messages run; they paint what was shown.
  void Pump();

 private:
  static constexpr int kCostShare = 20;  // a gap of at least this many times the cost of showing

  std::chrono::milliseconds interval_;
  std::chrono::milliseconds longest_;
  NowFunction now_;
  Clock::time_point shown_{};
  Clock::time_point started_{};
  Clock::duration cost_{};
};
