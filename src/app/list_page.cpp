#include "app/list_page.h"

#include <algorithm>

#include "app/fonts.h"
#include "core/utf8.h"
#include "ui/application.h"
#include "ui/gdi.h"

namespace {

// Column widths leave this much room beside the text (at 96 DPI).
constexpr int kColumnPadding = 12;

bool IsFixedPitch(HFONT font) {
  const ui::MemoryDcHandle dc(CreateCompatibleDC(nullptr));
  const ui::SelectObjectScope select(dc.get(), font);
  TEXTMETRICW metrics{};
  // The flag's name says the opposite of its meaning: set for a variable-pitch font.
  return GetTextMetricsW(dc.get(), &metrics) && (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
}

// The page's own controls are its children, whatever parent their arguments name.
template <typename Args>
Args ChildOf(Args args, ui::Control* parent) {
  args.parent = parent;
  return args;
}

}  // namespace

TListPage::TListPage(ui::Control& parent, const ui::StatusBarArgs& status, const ui::ListViewArgs& list,
                     int namePadding)
    : ui::Panel({.parent = &parent, .align = ui::Align::Client, .bevelOuter = ui::Bevel::None}),
      StatusBar(ChildOf(status, this)),
      ListView(ChildOf(list, this)),
      namePadding_(namePadding) {
  StatusBar.SetAccessibleName(u8"状態");
  ListView.SetFont(kFixedPitchFont);
  ListView.OnData = [this](int index, ui::ListItemData& item) { ListViewData(index, item); };
  fixedPitch_ = IsFixedPitch(ListView.CurrentFont());
  InitColumnWidths();
}

TListPage::~TListPage() {
  // The derived page and its records are gone: the list must not ask for rows any more.
  ListView.OnData = nullptr;
  ListView.SetItemCount(0);
}

TListPage::RunScope::RunScope(TListPage& page) : page_(page) {
  page_.running_ = true;
  page_.display_ = TRunPacer(page_.PaceInterval);
  // Hashing runs on workers: a round of messages costs the run little. Rounds at most 10 ms apart
  // leave room for a slow paint or a busy processor before a message waits 50 ms.
  page_.pump_ = TRunPacer(std::min(page_.PaceInterval, std::chrono::milliseconds(5)), std::chrono::milliseconds(10));
  page_.counter_ = page_.counterShown_ = {0, 0};
  page_.text_ = page_.textShown_ = page_.StatusBar.PanelText(1);
  page_.rowsChanged_ = false;
}

TListPage::RunScope::~RunScope() { page_.running_ = false; }

void TListPage::FileStarting(std::size_t index, std::size_t count) {
  // The text is made when it shows: most files pass between two showings.
  counter_ = {index + 1, count};
  ShowIfDue();
}

void TListPage::SetText(std::string_view text) {
  text_.assign(text);
  ShowIfDue();
}

void TListPage::RowsChanged() {
  rowsChanged_ = true;
  ShowIfDue();
}

void TListPage::ProcessMessages() {
  if (!pump_.Due()) return;
  pump_.Begin();
  ShowIfDue();
  pump_.Pump();
}

void TListPage::Waiting() {
  pump_.Begin();
  ShowIfDue();
  pump_.Pump();
}

void TListPage::Settle() {
  Flush();
  ui::App().ProcessMessages();
}

void TListPage::ShowIfDue() {
  if (display_.Due()) Flush();
}

void TListPage::Flush() {
  display_.Begin();
  Show();
  display_.Shown();
}

void TListPage::Show() {
  if (counter_ != counterShown_) {
    counterShown_ = counter_;
    const std::string text = std::to_string(counter_.first) + '/' + std::to_string(counter_.second);
    StatusBar.Panel(0).SetText(std::string_view(text));
  }
  if (text_ != textShown_) StatusBar.Panel(1).SetText(std::string_view(textShown_ = text_));
  if (rowsChanged_) {
    rowsChanged_ = false;
    ShowRows();
  }
}

void TListPage::ShowTextNow(std::string text) {
  StatusBar.Panel(1).SetText(std::string_view(text));
  text_ = textShown_ = std::move(text);
}

void TListPage::InitColumnWidths() {
  for (int column = 0; column < ListView.ColumnCount(); ++column) {
    ListView.SetColumnWidth(column,
                            ListView.TextWidth(ListView.ColumnCaption(column)) + ListView.Scaled(kColumnPadding));
  }
}

void TListPage::WidenColumn(int column, std::string_view text) {
  // In a fixed-pitch font a text is as wide as its display columns (a wide character takes two
  // cells), so one not wider than a text already measured cannot widen the column; this keeps
  // a list of a hundred thousand rows from measuring every cell. ASCII is one column a byte.
  const std::size_t columns = HasNonAscii(text) ? DisplayColumns(text) : text.size();
  std::size_t& longest = longestMeasured_.at(static_cast<std::size_t>(column));
  if (fixedPitch_ && columns <= longest && longest != 0) return;
  longest = std::max(longest, columns);
  const int needed = ListView.TextWidth(text) + ListView.Scaled(column == 0 ? namePadding_ : kColumnPadding);
  if (ListView.ColumnWidth(column) < needed) ListView.SetColumnWidth(column, needed);
}
