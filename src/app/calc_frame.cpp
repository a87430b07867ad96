#include "app/calc_frame.h"

#include <cstdint>

#include "engine/creation_run.h"
#include "ui/application.h"
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
                12) {}

TCalcFrame::~TCalcFrame() = default;

void TCalcFrame::ListViewData(int index, ui::ListItemData& item) {
  if (index < 0 || static_cast<std::size_t>(index) >= Entries.size()) return;
  const TCalcItem& entry = Entries[static_cast<std::size_t>(index)];
  item.caption = entry.Name;
  item.subItems.resize(2);
  item.subItems[0] = entry.Hash;
  item.subItems[1] = entry.Bytes;
}

void TCalcFrame::ShowRows() {
  ListView.SetItemCount(static_cast<int>(Entries.size()));
  if (!Entries.empty()) ListView.SelectFocusShow(static_cast<int>(Entries.size()) - 1);
}

void TCalcFrame::RowAdded(ChecksumRow row) {
  WidenColumn(0, row.Name);
  WidenColumn(1, row.Hash);
  WidenColumn(2, row.Bytes);
  Entries.push_back(std::move(row));
  RowsChanged();
}

bool TCalcFrame::RunCalc(const std::vector<std::string>& files, const TRunOptions& options) {
  if (files.empty()) return false;
  const RunScope running(*this);

  kind_ = options.kind;
  SetTag(static_cast<std::intptr_t>(kind_));
  ListView.SetColumnCaption(1, HashColumnTitle(kind_));
  ListView.SetFocus();
  baseFolder_ = BaseFolderOf(files);
  SetHint(baseFolder_);
  if (ui::Form* form = OwnerForm()) form->SetCaption(ui::App().Title() + " - Calc - Wait - " + baseFolder_);
  ListView.Repaint();

  const TRunResult result = RunCreation(files, baseFolder_, options, win::ThousandsSeparator(), *this);
  Flush();
  if (result.cancelled) {
    ShowRows();
    StatusBar.Panel(0).SetText(u8"キャンセル");
    return false;
  }
  ListView.Repaint();
  StatusBar.Panel(0).SetText(u8"完了");
  return true;
}
