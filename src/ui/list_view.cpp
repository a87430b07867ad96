#include "ui/list_view.h"

#include <algorithm>
#include <utility>

#include "ui/gdi.h"
#include "ui/image_list.h"

namespace ui {

ListView::ListView(const ListViewArgs& args)
    : Control(args.parent),
      gridLines_(args.gridLines),
      rowSelect_(args.rowSelect),
      readOnly_(args.readOnly),
      multiSelect_(args.multiSelect) {
  SetDesignBounds(args.left, args.top, args.width, args.height);
  SetAlign(args.align);
  SetTabStop(true);
  for (const ListColumn& column : args.columns) AddColumn(column);
  CreateWindowIfReady();
}

ListView::~ListView() { ReleaseWindow(); }

// ---- columns

void ListView::AddColumn(const ListColumn& column) {
  columns_.push_back({column.caption.Value(), Scaled(column.width), column.align});
  if (hwnd() != nullptr) InsertColumnIntoWindow(ColumnCount() - 1);
}

void ListView::InsertColumnIntoWindow(int index) {
  Column& column = columns_[static_cast<std::size_t>(index)];
  LVCOLUMNW lvColumn{};
  lvColumn.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
  lvColumn.fmt = column.align == ColumnAlign::Right ? LVCFMT_RIGHT : LVCFMT_LEFT;
  lvColumn.cx = column.width;
  lvColumn.pszText = column.caption.data();
  lvColumn.iSubItem = index;
  SendMessageW(hwnd(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&lvColumn));
}

void ListView::SetColumnCaption(int index, TextArg caption) {
  Column& column = columns_.at(static_cast<std::size_t>(index));
  column.caption = std::move(caption).Value();
  if (hwnd() == nullptr) return;
  LVCOLUMNW lvColumn{};
  lvColumn.mask = LVCF_TEXT;
  lvColumn.pszText = column.caption.data();
  SendMessageW(hwnd(), LVM_SETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&lvColumn));
}

std::string ListView::ColumnCaption(int index) const {
  return Utf8FromWide(columns_.at(static_cast<std::size_t>(index)).caption);
}

int ListView::ColumnWidth(int index) const {
  if (hwnd() != nullptr)
    return static_cast<int>(SendMessageW(hwnd(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(index), 0));
  return columns_.at(static_cast<std::size_t>(index)).width;
}

void ListView::SetColumnWidth(int index, int width) {
  columns_.at(static_cast<std::size_t>(index)).width = width;
  if (hwnd() != nullptr) SendMessageW(hwnd(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(index), MAKELPARAM(width, 0));
}

// ---- rows

void ListView::SetItemCount(int count) {
  itemCount_ = count;
  if (hwnd() != nullptr) {
    SendMessageW(hwnd(), LVM_SETITEMCOUNT, static_cast<WPARAM>(count), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  }
}

int ListView::Selected() const {
  if (hwnd() == nullptr) return selected_;
  return static_cast<int>(SendMessageW(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int ListView::FocusedItem() const {
  if (hwnd() == nullptr) return focused_;
  return static_cast<int>(SendMessageW(hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

namespace {

void SetItemState(HWND list, int index, UINT state, UINT mask) {
  LVITEMW item{};
  item.stateMask = mask;
  item.state = state;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

// Selecting a row of a single-selection list clears the others. Wine does that by visiting every
// row of a virtual list (65 ms for 100,000 rows, at every step of a run's progress), unless no
// other row is selected: so the one selected row is cleared first.
void ClearOtherSelection(HWND list, int index) {
  const auto previous = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (previous >= 0 && previous != index) SetItemState(list, previous, 0, LVIS_SELECTED);
}

}  // namespace

void ListView::SelectItem(int index) {
  selected_ = index;
  if (hwnd() == nullptr) return;
  if (index < 0) {
    SetItemState(hwnd(), -1, 0, LVIS_SELECTED);
  } else {
    if (multiSelect_) {
      SetItemState(hwnd(), -1, 0, LVIS_SELECTED);
    } else {
      ClearOtherSelection(hwnd(), index);
    }
    SetItemState(hwnd(), index, LVIS_SELECTED, LVIS_SELECTED);
  }
}

void ListView::FocusItem(int index) {
  focused_ = index;
  if (hwnd() != nullptr && index >= 0) SetItemState(hwnd(), index, LVIS_FOCUSED, LVIS_FOCUSED);
}

void ListView::EnsureVisible(int index, bool partialOk) {
  if (hwnd() != nullptr) SendMessageW(hwnd(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), partialOk ? TRUE : FALSE);
}

void ListView::SelectFocusShow(int index) {
  if (index < 0 || multiSelect_) {
    SelectItem(index);
    FocusItem(index);
  } else {
    // One state change for both: each one repaints the row.
    selected_ = focused_ = index;
    if (hwnd() != nullptr) {
      ClearOtherSelection(hwnd(), index);
      SetItemState(hwnd(), index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
  }
  EnsureVisible(index, true);
}

void ListView::RedrawItems(int first, int last) {
  if (hwnd() != nullptr) SendMessageW(hwnd(), LVM_REDRAWITEMS, static_cast<WPARAM>(first), last);
}

// ---- measuring

int ListView::TextWidth(std::string_view text) const { return TextWidthWide(WideFromUtf8(text)); }

int ListView::TextWidthWide(std::wstring_view text) const { return measurer_.Width(CurrentFont(), text); }

void ListView::SetStateImages(ImageList* images) {
  stateImages_ = images;
  if (images != nullptr) images->SetDpi(Dpi());
  if (hwnd() == nullptr) return;
  SendMessageW(hwnd(), LVM_SETIMAGELIST, LVSIL_STATE,
               reinterpret_cast<LPARAM>(images != nullptr ? images->Handle() : nullptr));
  SendMessageW(hwnd(), LVM_SETCALLBACKMASK, images != nullptr ? LVIS_STATEIMAGEMASK : 0, 0);
}

void ListView::DpiChanged(int oldDpi, int newDpi) {
  for (int i = 0; i < ColumnCount(); ++i) SetColumnWidth(i, MulDiv(ColumnWidth(i), newDpi, oldDpi));
  if (stateImages_ != nullptr) SetStateImages(stateImages_);
}

// ---- window

Control::CreateSpec ListView::GetCreateSpec() {
  DWORD style = LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS;
  if (!multiSelect_) style |= LVS_SINGLESEL;
  if (!readOnly_) style |= LVS_EDITLABELS;
  return {.className = WC_LISTVIEWW, .style = style, .exStyle = WS_EX_CLIENTEDGE};
}

void ListView::AfterCreateWindow() {
  DWORD extended = 0;
  if (gridLines_) extended |= LVS_EX_GRIDLINES;
  if (rowSelect_) extended |= LVS_EX_FULLROWSELECT;
  SendMessageW(hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  for (int i = 0; i < ColumnCount(); ++i) InsertColumnIntoWindow(i);
  if (stateImages_ != nullptr) SetStateImages(stateImages_);
  SetItemCount(itemCount_);
  if (selected_ >= 0 && selected_ < itemCount_) SelectItem(selected_);
  if (focused_ >= 0 && focused_ < itemCount_) FocusItem(focused_);
}

void ListView::BeforeDestroyWindow() {
  for (int i = 0; i < ColumnCount(); ++i) columns_[static_cast<std::size_t>(i)].width = ColumnWidth(i);
  selected_ = Selected();
  focused_ = FocusedItem();
}

bool ListView::HandleMessage(Message& message) {
  switch (message.msg) {
    case LVM_GETITEMW:
    case LVM_GETITEMA:
    case LVM_GETITEMTEXTW:
    case LVM_GETITEMTEXTA: {
      // The list paints without these messages: whoever sends them reads the list.
      const bool outer = std::exchange(readerAsking_, true);
      message.result = CallDefault(message);
      readerAsking_ = outer;
      return true;
    }
    default: return Control::HandleMessage(message);
  }
}

bool ListView::HandleNotify(NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case LVN_GETDISPINFOW:
      AnswerDisplayInfo(reinterpret_cast<NMLVDISPINFOW&>(header).item);
      result = 0;
      return true;
    case LVN_ODFINDITEMW:
      result = -1;  // no incremental search in data the list does not hold
      return true;
    default: return false;
  }
}

void ListView::AnswerDisplayInfo(LVITEMW& item) {
  if (!OnData || item.iItem < 0 || item.iItem >= itemCount_) return;
  scratch_.caption.clear();
  scratch_.subItems.clear();
  scratch_.stateIndex = -1;
  scratch_.forReader = readerAsking_;
  OnData(item.iItem, scratch_);
  if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
    const std::string* text = nullptr;
    if (item.iSubItem == 0) {
      text = &scratch_.caption;
    } else if (static_cast<std::size_t>(item.iSubItem - 1) < scratch_.subItems.size()) {
      text = &scratch_.subItems[static_cast<std::size_t>(item.iSubItem - 1)];
    }
    textBuffer_ = text != nullptr ? WideFromUtf8(*text) : std::wstring();
    std::size_t count = std::min(textBuffer_.size(), static_cast<std::size_t>(item.cchTextMax - 1));
    // Never leave half of a surrogate pair at the cut.
    if (count > 0 && count < textBuffer_.size() && IS_HIGH_SURROGATE(textBuffer_[count - 1])) --count;
    std::copy_n(textBuffer_.data(), count, item.pszText);
    item.pszText[count] = L'\0';
  }
  if ((item.mask & LVIF_STATE) != 0 && item.iSubItem == 0) {
    item.state &= ~LVIS_STATEIMAGEMASK;
    if (scratch_.stateIndex >= 0) item.state |= INDEXTOSTATEIMAGEMASK(static_cast<UINT>(scratch_.stateIndex) + 1);
    item.stateMask |= LVIS_STATEIMAGEMASK;
  }
}

}  // namespace ui
