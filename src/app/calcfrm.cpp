#include "app/calcfrm.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <utility>

#include "app/ansi.h"
#include "app/calc.h"
#include "app/calcview.h"
#include "app/crc.h"
#include "app/main.h"
#include "app/runpace.h"
#include "core/hex.h"
#include "core/numfmt.h"
#include "core/path.h"
#include "core/relpath.h"
#include "ui/application.h"

namespace {

// Column widths leave this much room beside the text.
constexpr int kColumnPadding = 12;

const ui::FontSpec kListFont{.face = u8"ＭＳ ゴシック", .height = 12, .charset = SHIFTJIS_CHARSET};

// Marks a frame as running for the extent of its run, also when the run leaves by an error.
class RunningScope {
 public:
  explicit RunningScope(bool& flag) : flag_(flag) { flag_ = true; }
  RunningScope(const RunningScope&) = delete;
  RunningScope& operator=(const RunningScope&) = delete;
  ~RunningScope() { flag_ = false; }

 private:
  bool& flag_;
};

// "%d/%d": the file being hashed and the page's number of files.
std::string CounterText(std::size_t number, const std::string& count) {
  std::string text = std::to_string(number);
  text += '/';
  text += count;
  return text;
}

// The run's texts reach the two status panels, and its newest rows the list, at the pace of a
// TRunPacer, and at once whenever the run flushes them (at its end, on a cancel).
class RunStatus final : public TextPanel {
 public:
  RunStatus(ui::StatusPanel& counter, ui::StatusPanel& progress)
      : counter_(counter), progress_(progress), textPace_(Interval()), listPace_(Interval()) {}
  void SetCounter(std::string text) {
    counterText_ = std::move(text);
    if (textPace_.Due()) Flush();
  }
  // The progress line of HashFile and the total line.
  void SetText(std::string_view text) override {
    progressText_.assign(text);
    if (textPace_.Due()) Flush();
  }
  // Runs showList (moving the list to its newest row) when the list's pace is due.
  template <typename ShowList>
  void ShowListIfDue(ShowList&& showList) {
    if (!listPace_.Due()) return;
    listPace_.Begin();
    showList();
    listPace_.Shown();
  }
  void Flush() {
    textPace_.Begin();
    if (counterText_ != counterShown_) counter_.SetText(std::string_view(counterShown_ = counterText_));
    if (progressText_ != progressShown_) progress_.SetText(std::string_view(progressShown_ = progressText_));
    textPace_.Shown();
  }

 private:
  static std::chrono::milliseconds Interval() { return std::chrono::milliseconds(TCalcFrame::StatusUpdateInterval); }

  ui::StatusPanel& counter_;
  ui::StatusPanel& progress_;
  std::string counterText_, counterShown_, progressText_, progressShown_;
  TRunPacer textPace_, listPace_;
};

// Lets queued messages run at the pace of a TRunPacer, at least every 16 ms (about one timer
// tick): a round of the message loop costs more than hashing a small file or a 64 KiB block,
// and a window that answers every few milliseconds is as responsive. Esc and closing still stop
// the run at the next file or block.
class RunPump final : public MessagePump {
 public:
  RunPump() : pace_(std::chrono::milliseconds(std::min(16U, TCalcFrame::StatusUpdateInterval))) {}
  void ProcessMessages() override {
    if (!pace_.Due()) return;
    pace_.Begin();
    pace_.Pump();
  }

 private:
  TRunPacer pace_;
};

}  // namespace

TCalcFrame::TCalcFrame(ui::Control& parent)
    : ui::Panel({.parent = &parent, .align = ui::Align::Client, .bevelOuter = ui::Bevel::None}),
      ListView({.parent = this,
                .align = ui::Align::Client,
                .columns = {{.caption = u8"Name"}, {.caption = u8"Hash"}, {.caption = u8"Bytes", .align = ui::ColumnAlign::Right}},
                .gridLines = true,
                .rowSelect = true,
                .readOnly = true,
                .multiSelect = false}),
      StatusBar({.parent = this, .panelWidths = {60, 0}}) {
  ListView.SetFont(kListFont);
  ListView.OnData = [this](int index, ui::ListItemData& item) { ListViewData(index, item); };
  InitColumnWidths();
}

TCalcFrame::~TCalcFrame() { ClearEntries(); }

void TCalcFrame::ListViewData(int index, ui::ListItemData& item) {
  if (index < 0 || static_cast<std::size_t>(index) >= Entries.size()) return;
  const TCalcItem& entry = Entries[static_cast<std::size_t>(index)];
  item.caption = entry.Name;
  item.subItems.resize(2);
  item.subItems[0] = entry.Hash;
  item.subItems[1] = entry.Bytes;
}

void TCalcFrame::ClearEntries() {
  Entries.clear();
  Entries.shrink_to_fit();
  ListView.SetItemCount(0);
}

void TCalcFrame::InitColumnWidths() {
  for (int column = 0; column < ListView.ColumnCount(); ++column) {
    ListView.SetColumnWidth(column, ListView.TextWidth(ListView.ColumnCaption(column)) + kColumnPadding);
  }
}

void TCalcFrame::WidenColumn(int column, const std::string& text) {
  const int width = ListView.TextWidth(text) + kColumnPadding;
  if (width > ListView.ColumnWidth(column)) ListView.SetColumnWidth(column, width);
}

void TCalcFrame::ShowNewestRow() {
  ListView.SetItemCount(static_cast<int>(Entries.size()));
  if (!Entries.empty()) ListView.SelectFocusShow(static_cast<int>(Entries.size()) - 1);
}

bool TCalcFrame::AutoSaveApplies(const std::string& folder) const {
  return folder.empty() ? MainForm->AutoSaveFileCheckBox.Checked() : MainForm->AutoSaveDirCheckBox.Checked();
}

bool TCalcFrame::RunCalc(const std::vector<std::string>& files, const std::string& folder) {
  if (files.empty()) return false;
  const RunningScope running(running_);

  kind_ = MainForm->GetHashType();
  SetTag(static_cast<std::intptr_t>(kind_));
  ListView.SetColumnCaption(1, HashColumnTitle(kind_));
  ListView.SetFocus();
  baseFolder_ = ExcludeTrailingPathDelimiter(ExtractFilePath(files.front(), IsAnsiLeadByte), IsAnsiLeadByte);
  SetHint(baseFolder_);
  CalcForm->SetCaption(ui::App().Title() + " - Calc - Wait - " + baseFolder_);

  std::uint64_t total = 0;
  ListView.Repaint();
  ui::StatusPanel& counter = StatusBar.Panel(0);
  ui::StatusPanel& progress = StatusBar.Panel(1);
  const std::string separator = ThousandsSeparator();
  const bool upper = kind_ == THashType::MD5 ? MainForm->UpperMD5CheckBox.Checked() : MainForm->UpperCRCCheckBox.Checked();
  const std::string binaryMark = kind_ == THashType::MD5 && MainForm->MD5BinaryModeCheckBox.Checked() ? "*" : "";
  const std::string count = std::to_string(files.size());
  RunStatus status(counter, progress);
  RunPump pump;

  for (std::size_t i = 0; i < files.size(); ++i) {
    status.SetCounter(CounterText(i + 1, count));
    pump.ProcessMessages();
    if (CancelFlag) {
      status.Flush();
      ShowNewestRow();
      counter.SetText(u8"キャンセル");
      return false;
    }
    std::string hash;
    std::int64_t size = 0;
    MessagePump* blockPump = MainForm->ShowProcessCheckBox.Checked() ? &pump : nullptr;
    if (HashFile(kind_, files[i], hash, size, blockPump, &status)) {
      TCalcItem entry{.Name = binaryMark + RelativeName(baseFolder_, files[i], IsAnsiLeadByte),
                      .Hash = upper ? std::move(hash) : AsciiLower(std::move(hash)),
                      .Bytes = FormatGrouped(static_cast<std::uint64_t>(size), separator)};
      WidenColumn(0, entry.Name);
      WidenColumn(1, entry.Hash);
      WidenColumn(2, entry.Bytes);
      Entries.push_back(std::move(entry));
      total += static_cast<std::uint64_t>(size);
      // Raising the row count, moving the selection and scrolling each make the list repaint
      // (the row count alone costs more than hashing a small file); a few times a second keeps
      // the newest row in view at a fraction of the cost.
      status.ShowListIfDue([this] { ShowNewestRow(); });
    }
    status.SetText(TotalLine(Entries.size(), total, separator));
  }
  status.Flush();
  ShowNewestRow();
  // A cancel that came while the last file was read stopped that file; it is noticed here as it
  // would be before a further file, so the page ends cancelled and is not saved.
  ui::App().ProcessMessages();
  if (CancelFlag) {
    counter.SetText(u8"キャンセル");
    return false;
  }

  ListView.Repaint();
  counter.SetText(u8"完了");

  // A page without rows has no list: nothing to save, and no reason to close it unseen.
  if (AutoSaveApplies(folder) && !Entries.empty()) {
    // This page, also when the user has switched to another tab meanwhile.
    CalcViewForm->RenderPage(this);
    const bool saved = CalcViewForm->AutoSave();
    // The text view follows the active tab; put it back when it shows.
    if (CalcViewForm->Visible() && CalcForm->ActiveFrame() != this) CalcViewForm->RenderActivePage();
    // A list whose overwriting the user declined was not saved: the page stays for a save by hand.
    return saved && MainForm->AutoSaveCloseCheckBox.Checked();
  }
  if (CalcViewForm->Visible()) CalcViewForm->RenderActivePage();
  return false;
}
