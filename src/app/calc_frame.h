#pragma once

#include <stop_token>
#include <string>
#include <vector>

#include "app/list_page.h"
#include "core/hash_type.h"
#include "core/listtext.h"
#include "engine/creation_run.h"
#include "engine/options.h"

// One list page of the creation window: the rows of the hashed files, the counter or final
// state, and the progress text or total line.
class TCalcFrame : public TListPage {
 public:
  using TCalcItem = ChecksumRow;

  // parent is the tab sheet that holds the page; the frame fills it.
  explicit TCalcFrame(ui::Control& parent);
  ~TCalcFrame() override;

  // Hashes the files one after the other with the options' kind and adds a row per readable
  // file; the files left out follow the rows, each with its reason in the hash column.
  TRunResult RunCalc(const TPageFiles& page, const TRunOptions& options, const std::stop_token& cancel);

  // The page's kind, taken from the options when its run starts (also the frame's Tag).
  [[nodiscard]] THashType Kind() const { return kind_; }
  // The folder of the page's first file without a trailing "\" ("C:" for a drive root); also
  // the frame's hint.
  [[nodiscard]] const std::string& BaseFolder() const { return baseFolder_; }
  // The progress text or the total line while the run goes on, the total line once it has ended
  // (the status bar may say something else by then).
  [[nodiscard]] std::string TotalText() const { return Running() ? StatusBar.PanelText(1) : total_; }

  // Compares the rows' hashes with the digests (upper-case hex, of this page's kind): every
  // matching row gets the mark of a match, the others none, the first match is selected, and the
  // text line says "一致: NAME" or "一致するファイルはありません". False when no row matches.
  bool ShowMatches(const std::vector<std::string>& digests);
  // The text line says that the clipboard holds no digest of this page's kind.
  void ShowNoDigest();
  // The selected row's hash, as the page shows it; empty when the selection is no row with a hash.
  [[nodiscard]] std::string SelectedHash() const;
  // Whether the row of entry index carries the mark of a match.
  [[nodiscard]] bool Matched(std::size_t index) const { return index < matched_.size() && matched_[index]; }

  std::vector<TCalcItem> Entries;
  // The files without a row: path and reason.
  struct TLeftOut {
    std::string path;
    THashFailure reason;
  };
  std::vector<TLeftOut> LeftOut;

 private:
  void RowAdded(ChecksumRow row) override;
  void FileLeftOut(std::string path, THashFailure reason) override;
  // Row count of the list := number of entries; selects, focuses and scrolls to the last row.
  void ShowRows() override;
  void ListViewData(int index, ui::ListItemData& item) override;

  THashType kind_ = THashType::None;
  std::string baseFolder_;
  std::string total_;
  std::vector<bool> matched_;  // per entry; empty until compared
};
