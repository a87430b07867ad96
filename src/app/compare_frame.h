#pragma once

#include <array>
#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

#include "app/list_page.h"
#include "core/checksum_list.h"
#include "core/verification_table.h"
#include "engine/options.h"

// One row of a page as it shows. Texts are UTF-8.
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

// One list page of the verification window: fills its rows from a list, verifies every entry at
// once and marks each row correct or with its error. The page's hint (Control::Hint) is the list
// file's full path.
class TCompareFrame : public TListPage {
 public:
  // Fills parent, which is the tab sheet that owns the page.
  explicit TCompareFrame(ui::Control& parent);
  ~TCompareFrame() override;

  // Shows the list's rows and verifies them; the list's kind is CRC16, CRC32 or MD5. The page
  // keeps the list and one byte per row (VerificationTable); the rows' texts are made when the
  // list view asks for them. Returns when the run is over or was cancelled.
  void StartCompare(const std::string& listPath, ChecksumList list, const TRunOptions& options,
                    const std::stop_token& cancel);
  // Selects the nearest error row above or below the selected one; nothing without one.
  void GotoError(TSearchDirection direction);
  // Puts the error rows verified so far on the clipboard as tab-separated text: a header line of
  // the columns as the page shows them and "State", then each row with its state word. Without
  // error rows nothing is copied and the status bar says so. False when nothing was copied.
  bool CopyErrorRows();
  // Adds a row "リストにないファイル" for every file beside the list's files that the list does
  // not name (FindUnlistedFiles), and a row "読めません" for every folder among them that could
  // not be listed whole, counted as errors; once per page, after its run has ended
  // uncancelled. False when there was nothing to look for (the run is not over, or it was done).
  bool AddUnlistedFiles();
  // Before StartCompare: the page verifies one entry taken from a list, so the list's other files
  // are none of its business and no search for unlisted files runs.
  // Nor can the list be updated from this page: it saw one row of it.
  void KeepToTheEntry() { unlistedAdded_ = keptToTheEntry_ = true; }
  // Brings the page's list up to date once its run has ended uncancelled (PlanListUpdate): the
  // files beside it that it does not name added, those gone dropped. When files no longer match,
  // a question names them: Yes gives them their new hashes, No keeps their lines, Cancel writes
  // nothing. The list is written again only when something changed (WriteListFile: raises
  // TListFileError); the status bar tells what was done. False when nothing was written.
  bool UpdateList(const TRunOptions& options, const std::stop_token& cancel);
  // The page's rows as report lines: the list's path, the name, the row's kind, the expected and
  // found hash and size (sizes as digits alone), and the outcome: "正常", the Error column's
  // text, or "未検証" for a row that a cancel left.
  void AppendReportRows(std::vector<std::vector<std::string>>& rows) const;
  [[nodiscard]] const std::string& ListPath() const { return listPath_; }

  // The status bar's second panel: the summary (or the progress text during a run).
  [[nodiscard]] std::string SummaryText() const { return StatusBar.PanelText(1); }

  [[nodiscard]] std::size_t RowCount() const { return table_.size(); }
  // Row i as it shows.
  [[nodiscard]] TCompareItem Item(std::size_t i) const;

  // Shows a file that was to be a checksum list but is none: one row of the file's name whose
  // Error column says so, an error in the summary, the page done. ListPath() is the file.
  void ShowNoList(const std::string& path);
  // Shows a file or folder (with a trailing "\") that could not be read or listed in the same
  // way: its row says "読めません" and the reason.
  void ShowUnreadable(const std::string& path, const std::u8string& reason);

 private:
  void RowVerified(std::size_t index, TVerification verification) override;
  // Selects the last verified row.
  void ShowRows() override;
  void ListViewData(int index, ui::ListItemData& item) override;
  // A row's outcome in words: "正常", the Error column's text, or "未検証"; takes the text.
  [[nodiscard]] std::string Outcome(TCompareItem& item) const;
  // "n ファイル (正常 : c  異常 : e)" of the rows verified so far.
  [[nodiscard]] std::string Summary() const;
  void EndRun(bool cancelled);
  // The kind in the hash columns' titles.
  void ShowKind(THashType kind);
  // The Error column's texts of the results, by the page's kind.
  void MakeResultTexts();
  // The page of one row for path alone, as ShowNoList and ShowUnreadable make it.
  void ShowPathRow(const std::string& path, TVerifyResult result, const std::u8string& reason);

  std::string listPath_;
  bool runOver_ = false;
  bool unlistedAdded_ = false;
  bool keptToTheEntry_ = false;
  VerificationTable table_;
  THashType kind_ = THashType::None;
  std::size_t done_ = 0;
  std::size_t correct_ = 0;
  // Texts converted once: the state words, and the run's Error column texts.
  std::string correctWord_, errorWord_, unverifiedWord_;
  std::array<std::string, 10> resultTexts_;
};
