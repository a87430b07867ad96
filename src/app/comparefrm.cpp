#include "app/comparefrm.h"

#include <algorithm>
#include <cstdio>

#include "app/ansi.h"
#include "app/compare.h"
#include "app/runpace.h"
#include "app/crc.h"
#include "app/main.h"
#include "core/listread.h"
#include "core/numfmt.h"
#include "core/path.h"
#include "ui/application.h"

namespace {

ui::FontSpec ListFont() { return {.face = u8"ＭＳ ゴシック", .height = 12, .charset = SHIFTJIS_CHARSET}; }

enum Column { colName, colHash, colFHash, colBytes, colFBytes, colError };

const char* KindName(THashType kind) {
  switch (kind) {
    case THashType::CRC16: return "CRC";
    case THashType::CRC32: return "CRC32";
    case THashType::MD5: return "MD5";
    default: return "";
  }
}

// Only the letters A-Z fold: hashes are hex digits, anything else compares exactly.
bool SameIgnoringAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

std::optional<ListEntry> SplitEntry(const std::string& line, THashType kind) {
  switch (kind) {
    case THashType::CRC16:
    case THashType::CRC32: return SplitTableLine(line);
    case THashType::MD5: return SplitMD5Line(line);
    default: return std::nullopt;
  }
}

bool IsFixedPitch(HFONT font) {
  const ui::MemoryDcHandle dc(CreateCompatibleDC(nullptr));
  const ui::SelectObjectScope select(dc.get(), font);
  TEXTMETRICW metrics{};
  // The flag's name says the opposite of its meaning: set for a variable-pitch font.
  return GetTextMetricsW(dc.get(), &metrics) && (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
}

}  // namespace

TCompareFrame::TCompareFrame(ui::Control& parent)
    : ui::Panel({.parent = &parent, .align = ui::Align::Client, .bevelOuter = ui::Bevel::None}),
      StatusBar({.parent = this, .panelWidths = {60, 50}, .height = 19}),
      ListView({.parent = this,
                .align = ui::Align::Client,
                .columns = {{.caption = u8"Name"},
                            {.caption = u8"Hash"},
                            {.caption = u8"FHash"},
                            {.caption = u8"Bytes", .align = ui::ColumnAlign::Right},
                            {.caption = u8"FBytes", .align = ui::ColumnAlign::Right},
                            {.caption = u8"Error"}},
                .gridLines = true,
                .rowSelect = true,
                .readOnly = true,
                .multiSelect = false}) {
  ListView.SetFont(ListFont());
  ListView.SetTabStop(true);
  if (auto* form = dynamic_cast<TCompareForm*>(OwnerForm())) ListView.SetStateImages(&form->StateImageList);
  ListView.OnData = [this](int index, ui::ListItemData& item) { ListViewData(index, item); };
  fixedPitch_ = IsFixedPitch(ListView.CurrentFont());
  InitColumnWidths();
}

TCompareFrame::~TCompareFrame() { ClearEntries(); }

std::string TCompareFrame::StateText() const { return StatusBar.PanelText(0); }
std::string TCompareFrame::SummaryText() const { return StatusBar.PanelText(1); }

void TCompareFrame::StartCompare(const std::string& listPath, const std::vector<std::string>& lines, THashType kind) {
  const std::string kindName = KindName(kind);
  ListView.SetColumnCaption(colHash, kindName);
  ListView.SetColumnCaption(colFHash, "F" + kindName);
  ListView.SetFocus();
  if (ui::Form* form = OwnerForm()) form->SetCaption(Hint() + " - Compare - Wait - " + ui::App().Title());

  Entries.reserve(lines.size());
  for (const std::string& line : lines) {
    std::optional<ListEntry> entry = SplitEntry(line, kind);
    if (!entry) break;
    TCompareItem& item = Entries.emplace_back();
    item.Name = std::move(entry->name);
    item.Hash = std::move(entry->hash);
    item.Bytes = std::move(entry->size);
    WidenColumn(colName, item.Name);
    WidenColumn(colHash, item.Hash);
    WidenColumn(colBytes, item.Bytes);
  }
  // No messages run while the rows are read, so one count at the end looks the same as one per
  // row and spares the list a hundred thousand updates.
  ListView.SetItemCount(static_cast<int>(Entries.size()));

  RunCompare(ExtractFilePath(listPath, IsAnsiLeadByte), kind);
}

void TCompareFrame::RunCompare(const std::string& folder, THashType kind) {
  struct RunningScope {
    bool& flag;
    explicit RunningScope(bool& f) : flag(f) { flag = true; }
    ~RunningScope() { flag = false; }
    RunningScope(const RunningScope&) = delete;
    RunningScope& operator=(const RunningScope&) = delete;
  } running(running_);
  shownCounter_ = shownRow_ = -1;
  separator_ = ThousandsSeparator();  // asked once: each question reads the settings
  TRunPacer pacer(PaceInterval);
  const bool showProcess = MainForm->ShowProcessCheckBox.Checked();
  const int n = static_cast<int>(Entries.size());
  int correct = 0;
  for (int i = 0; i < n; ++i) {
    if (i == 0 || pacer.Due()) {
      pacer.Begin();
      ShowState(i, i, correct);
      pacer.Pump();
    }
    if (CancelFlag) return EndCancelled(i, correct);
    TPacedProgress progress(pacer, StatusBar.Panel(1), showProcess, [&] { ShowState(i, i, correct); });
    if (!VerifyEntry(Entries[static_cast<std::size_t>(i)], folder, kind, progress, correct)) {
      // The row whose reading the cancel stopped was never verified: it stays blank.
      return EndCancelled(i, correct);
    }
    // The cancel came while the file was read to its end: the row stands, the run ends here
    // (also after the last row, which makes no complete run).
    if (CancelFlag) return EndCancelled(i + 1, correct);
  }
  if (n > 0) {
    ShowState(n - 1, n, correct);
    ShowSummary(n, correct);
  }
  ListView.Repaint();
  StatusBar.Panel(0).SetText(u8"完了");
}

void TCompareFrame::ShowState(int current, int done, int correct) {
  if (shownCounter_ != current) {
    char counter[32];
    std::snprintf(counter, sizeof counter, "%d/%d", current + 1, static_cast<int>(Entries.size()));
    StatusBar.Panel(0).SetText(std::string_view(counter));
    shownCounter_ = current;
  }
  if (done > 0 && shownRow_ != done - 1) {
    ListView.SelectFocusShow(done - 1);
    ShowSummary(done, correct);
    shownRow_ = done - 1;
  }
}

void TCompareFrame::EndCancelled(int done, int correct) {
  if (done > 0) {
    ShowState(done - 1, done, correct);
    ShowSummary(done, correct);  // in place of a progress text
  } else {
    StatusBar.Panel(1).SetText(std::string_view());
  }
  StatusBar.Panel(0).SetText(u8"キャンセル");
}

bool TCompareFrame::VerifyEntry(TCompareItem& item, const std::string& folder, THashType kind,
                                TPacedProgress& progress, int& correct) {
  // A name that already is an absolute path (another drive, a network share) stands for itself.
  const std::string path = IsAbsoluteListName(item.Name) ? item.Name : folder + item.Name;
  std::string hash;
  std::int64_t size = 0;
  if (!HashFile(kind, path, hash, size, progress.Pump(), &progress)) {
    // HashFile reads CancelFlag only while it runs: set now, it stopped the reading.
    if (CancelFlag) return false;
    item.Error = ui::Ansi(u8"ファイルオープン失敗");
    WidenColumn(colError, item.Error);
    item.State = 2;
    return true;
  }
  item.FHash = std::move(hash);
  WidenColumn(colFHash, item.FHash);
  if (!SameIgnoringAsciiCase(item.Hash, item.FHash)) {
    item.Error = ListView.ColumnCaption(colHash) + ui::Ansi(u8"不一致");
    WidenColumn(colError, item.Error);
    item.State = 2;
  }
  if (kind != THashType::MD5) {
    const auto bytes = static_cast<std::uint64_t>(size);
    item.FBytes = item.Bytes.find(',') != std::string::npos ? FormatGrouped(bytes, separator_) : std::to_string(bytes);
  }
  WidenColumn(colFBytes, item.FBytes);
  if (item.Bytes != item.FBytes) {
    item.Error = ui::Ansi(u8"サイズ不一致");
    WidenColumn(colError, item.Error);
    item.State = 2;
  }
  if (item.State == 0) {
    item.State = 1;
    ++correct;
  }
  return true;
}

void TCompareFrame::ShowSummary(int done, int correct) {
  char summary[96];
  std::snprintf(summary, sizeof summary, "%d%s (%s : %d  %s : %d)", done, ui::Ansi(u8"ファイル").c_str(),
                ui::Ansi(u8"正常").c_str(), correct, ui::Ansi(u8"異常").c_str(), done - correct);
  StatusBar.Panel(1).SetText(std::string_view(summary));
}

void TCompareFrame::GotoError(TSearchDirection direction) {
  const int step = direction == TSearchDirection::sdAbove ? -1 : 1;
  const int n = static_cast<int>(Entries.size());
  for (int i = ListView.Selected() + step; i >= 0 && i < n; i += step) {
    if (Entries[static_cast<std::size_t>(i)].State == 2) {
      ListView.SelectFocusShow(i);
      return;
    }
  }
}

void TCompareFrame::ListViewData(int index, ui::ListItemData& item) {
  if (index < 0 || index >= static_cast<int>(Entries.size())) return;
  const TCompareItem& entry = Entries[static_cast<std::size_t>(index)];
  item.stateIndex = entry.State;
  item.caption = entry.Name;
  item.subItems = {entry.Hash, entry.FHash, entry.Bytes, entry.FBytes, entry.Error};
}

void TCompareFrame::WidenColumn(int column, const std::string& text) {
  // In a fixed-pitch font a text is as wide as its bytes (a double-byte character takes two
  // cells), so one not longer than a text already measured cannot widen the column; this keeps
  // a list of a hundred thousand rows from measuring every cell.
  std::size_t& longest = longestMeasured_.at(static_cast<std::size_t>(column));
  if (fixedPitch_ && text.size() <= longest && longest != 0) return;
  longest = std::max(longest, text.size());
  const int needed = ListView.TextWidth(text) + (column == colName ? 18 : 12);
  if (ListView.ColumnWidth(column) < needed) ListView.SetColumnWidth(column, needed);
}

void TCompareFrame::InitColumnWidths() {
  for (int column = 0; column < ListView.ColumnCount(); ++column) {
    ListView.SetColumnWidth(column, ListView.TextWidth(ListView.ColumnCaption(column)) + 12);
  }
}

void TCompareFrame::ClearEntries() {
  Entries.clear();
  ListView.SetItemCount(0);
}
