#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/hash_type.h"
#include "ui/list_view.h"
#include "ui/panel.h"
#include "ui/status_bar.h"

// One entry of a checksum list and one row of its page. Texts are ANSI bytes.
struct TCompareItem {
  std::int32_t State = 0;  // 0 not verified, 1 correct, 2 error; also the state picture index
  std::string Name;        // as the list writes it
  std::string Hash;        // expected, as written (case kept)
  std::string FHash;       // found
  std::string Bytes;       // expected size as written, separators included; empty for MD5
  std::string FBytes;      // found size, written like Bytes
  std::string Error;
};

enum class TSearchDirection : std::uint8_t { sdAbove, sdBelow };

// One list page of the verification window: fills its rows from a list's lines, verifies every
// entry at once and marks each row correct or with its error. The list's hint (Control::Hint)
// is the list file's full path.
class TPacedProgress;

class TCompareFrame : public ui::Panel {
 public:
  // Fills parent, which is the tab sheet that owns the page.
  explicit TCompareFrame(ui::Control& parent);
  ~TCompareFrame() override;
  TCompareFrame(const TCompareFrame&) = delete;
  TCompareFrame& operator=(const TCompareFrame&) = delete;

  // The lines come without a table header; kind is CRC16, CRC32 or MD5. Returns when the run
  // is over or was cancelled.
  void StartCompare(const std::string& listPath, const std::vector<std::string>& lines, THashType kind);
  // Selects the nearest error row above or below the selected one; nothing without one.
  void GotoError(TSearchDirection direction);

  // Text of the status bar's panels: the counter / "完了" / "キャンセル", and the summary.
  std::string StateText() const;
  std::string SummaryText() const;
  bool Running() const { return running_; }

  // How often a run shows its state and lets messages run (see TRunPacer); 0: at every row
  // and every block.
  std::chrono::milliseconds PaceInterval{50};

  ui::StatusBar StatusBar;
  ui::ListView ListView;
  std::vector<TCompareItem> Entries;

 private:
  void RunCompare(const std::string& folder, THashType kind);
  // False when a cancel stopped the reading: the row stays unverified.
  bool VerifyEntry(TCompareItem& item, const std::string& folder, THashType kind, TPacedProgress& progress,
                   int& correct);
  // The counter at row current, and the last of done rows selected with the summary.
  void ShowState(int current, int done, int correct);
  void EndCancelled(int done, int correct);
  void ListViewData(int index, ui::ListItemData& item);
  void WidenColumn(int column, const std::string& text);
  void InitColumnWidths();
  void ClearEntries();
  void ShowSummary(int done, int correct);

  bool running_ = false;
  int shownCounter_ = -1;
  int shownRow_ = -1;
  std::string separator_;  // the locale's thousands separator, for the run
  bool fixedPitch_ = false;
  std::array<std::size_t, 6> longestMeasured_{};  // per column, bytes
};
