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
  // The status bar's second panel: the progress text or the total line.
  [[nodiscard]] std::string TotalText() const { return StatusBar.PanelText(1); }

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
};
