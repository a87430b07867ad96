#include "app/calc_frame.h"

#include <algorithm>
#include <cstdint>

#include "app/calc_form.h"
#include "app/state_pictures.h"
#include "core/hex.h"
#include "engine/creation_run.h"
#include "ui/application.h"
#include "ui/text.h"
#include "win/user_locale.h"

TCalcFrame::TCalcFrame(ui::Control& parent)
    : TListPage(parent, {.panelWidths = {60, 0}},
                {.align = ui::Align::Client,
                 .columns = {{.caption = u8"Name"},
                             {.caption = u8"Hash"},
                             {.caption = u8"Bytes", .align = ui::ColumnAlign::Right}},
                 .gridLines = true,
                 .rowSelect = true,
                 .readOnly = true,
                 .multiSelect = false},
                12) {
  ListView.SetAccessibleName(u8"作成結果");
}

TCalcFrame::~TCalcFrame() = default;

void TCalcFrame::ListViewData(int index, ui::ListItemData& item) {
  if (index < 0) return;
  if (static_cast<std::size_t>(index) >= Entries.size()) {
    const std::size_t left = static_cast<std::size_t>(index) - Entries.size();
    if (left >= LeftOut.size()) return;
    item.caption = LeftOut[left].path;
    item.subItems = {ui::Utf8(HashFailureText(LeftOut[left].reason)), std::string()};
    return;
  }
  const TCalcItem& entry = Entries[static_cast<std::size_t>(index)];
  if (!matched_.empty()) item.stateIndex = Matched(static_cast<std::size_t>(index)) ? 1 : 0;
  item.caption = entry.Name;
  item.subItems.resize(2);
  item.subItems[0] = entry.Hash;
  item.subItems[1] = entry.Bytes;
}

void TCalcFrame::ShowRows() {
  ListView.SetItemCount(static_cast<int>(Entries.size() + LeftOut.size()));
  if (!Entries.empty()) ListView.SelectFocusShow(static_cast<int>(Entries.size()) - 1);
}

void TCalcFrame::RowAdded(ChecksumRow row) {
  WidenColumn(0, row.Name);
  WidenColumn(1, row.Hash);
  WidenColumn(2, row.Bytes);
  Entries.push_back(std::move(row));
  RowsChanged();
}

void TCalcFrame::FileLeftOut(std::string path, THashFailure reason) {
  WidenColumn(0, path);
  WidenColumn(1, ui::Utf8(HashFailureText(reason)));
  LeftOut.push_back({std::move(path), reason});
  RowsChanged();
}

TRunResult TCalcFrame::RunCalc(const TPageFiles& page, const TRunOptions& options, const std::stop_token& cancel) {
  if (page.Empty()) return {};
  const RunScope running(*this);

  kind_ = options.kind;
  SetTag(static_cast<std::intptr_t>(kind_));
  ListView.SetColumnCaption(1, HashColumnTitle(kind_));
  ListView.SetFocus();
  baseFolder_ = BaseFolderOf(page);
  SetHint(baseFolder_);
  if (ui::Form* form = OwnerForm()) form->SetCaption(ui::App().Title() + " - Calc - Wait - " + baseFolder_);
  // The new page paints in a round of messages, which also answers whatever else waits.
  ui::App().ProcessMessages();

  const TRunResult result = RunCreation(page, baseFolder_, options, win::ThousandsSeparator(), *this, cancel);
  Flush();
  total_ = StatusBar.PanelText(1);
  if (result.cancelled) {
    ShowRows();
    StatusBar.Panel(0).SetText(u8"キャンセル");
    return result;
  }
  ListView.Repaint();
  // A page that left files out says so where a finished page says "完了".
  StatusBar.Panel(0).SetText(result.leftOut > 0 ? u8"除外あり" : u8"完了");
  return result;
}

bool TCalcFrame::ShowMatches(const std::vector<std::string>& digests) {
  if (matched_.empty()) {
    if (auto* form = dynamic_cast<TCalcForm*>(OwnerForm())) ListView.SetStateImages(&form->StateImageList);
    // The mark takes room before the name.
    ListView.SetColumnWidth(0, ListView.ColumnWidth(0) + ListView.Scaled(kStatePictureSize));
  }
  matched_.assign(Entries.size(), false);
  int first = -1;
  for (std::size_t i = 0; i < Entries.size(); ++i) {
    const std::string hash = AsciiUpper(Entries[i].Hash);
    matched_[i] = std::find(digests.begin(), digests.end(), hash) != digests.end();
    if (matched_[i] && first < 0) first = static_cast<int>(i);
  }
  if (first >= 0) {
    ListView.SelectFocusShow(first);
    // The binary-mode mark does not belong to the name.
    std::string_view name = Entries[static_cast<std::size_t>(first)].Name;
    if (name.starts_with('*')) name.remove_prefix(1);
    ShowTextNow(ui::Utf8(u8"一致: ") + std::string(name));
  } else {
    ShowTextNow(ui::Utf8(u8"一致するファイルはありません"));
  }
  ListView.Repaint();
  return first >= 0;
}

void TCalcFrame::ShowNoDigest() { ShowTextNow(ui::Utf8(u8"クリップボードにハッシュがありません")); }

std::string TCalcFrame::SelectedHash() const {
  const int selected = ListView.Selected();
  if (selected < 0 || static_cast<std::size_t>(selected) >= Entries.size()) return {};
  return Entries[static_cast<std::size_t>(selected)].Hash;
}
