#include "ui/tab_control.h"

#include <commctrl.h>

#include <algorithm>

namespace ui {

// ---- TabSheet

TabSheet::TabSheet(const TabSheetArgs& args)
    : ui::Control(args.control), control_(args.control), tabVisible_(args.tabVisible) {
  SetText(args.caption);
  SetVisible(false);
  if (control_ != nullptr) control_->Register(this);
  CreateWindowIfReady();
}

TabSheet::~TabSheet() {
  if (control_ != nullptr) control_->Unregister(this);
  ReleaseWindow();
}

int TabSheet::PageIndex() const { return control_ != nullptr ? control_->IndexOf(*this) : -1; }

void TabSheet::SetTabVisible(bool visible) {
  if (tabVisible_ == visible) return;
  tabVisible_ = visible;
  if (control_ != nullptr) control_->SheetVisibilityChanged(*this);
}

ui::Control::CreateSpec TabSheet::GetCreateSpec() {
  if (control_ != nullptr) {
    const RECT area = control_->DisplayRect();
    SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
  }
  return {.className = nullptr, .style = WS_CLIPCHILDREN, .exStyle = WS_EX_CONTROLPARENT};
}

bool TabSheet::HandleMessage(Message& message) { return ui::Control::HandleMessage(message); }

void TabSheet::TextChanged() {
  if (control_ != nullptr) control_->SheetCaptionChanged(*this);
}

// ---- TabControl

TabControl::TabControl(const TabControlArgs& args) : Control(args.parent), tabWidth_(Scaled(args.tabWidth)) {
  SetDesignBounds(args.left, args.top, args.width, args.height);
  SetAlign(args.align);
  SetTabStop(args.tabStop);
  CreateWindowIfReady();
}

TabControl::~TabControl() {
  // The sheets outlive this object's own part only as far as ~Control: cut them loose first.
  for (TabSheet* sheet : pages_) sheet->control_ = nullptr;
  pages_.clear();
  ReleaseWindow();
}

TabSheet& TabControl::AddSheet(TextArg caption) {
  auto sheet = std::make_unique<TabSheet>(TabSheetArgs{.control = this, .caption = std::move(caption)});
  return Adopt(std::move(sheet));
}

void TabControl::RemoveSheet(TabSheet& sheet) {
  if (sheet.control_ != this) return;
  Unregister(&sheet);
  sheet.control_ = nullptr;
  sheet.SetVisible(false);
  DestroyChild(sheet);  // does nothing to a member sheet: it stays alive, detached
}

int TabControl::IndexOf(const TabSheet& sheet) const {
  const auto found = std::find(pages_.begin(), pages_.end(), &sheet);
  return found == pages_.end() ? -1 : static_cast<int>(found - pages_.begin());
}

TabSheet* TabControl::ActivePage() const { return active_ >= 0 ? pages_[static_cast<std::size_t>(active_)] : nullptr; }

void TabControl::ActivatePage(int index, bool raiseChange) {
  if (index < -1 || index >= PageCount()) return;
  if (index >= 0 && !Page(index).tabVisible_) return;
  if (index != active_) {
    TabSheet* previous = ActivePage();
    active_ = index;
    if (TabSheet* next = ActivePage(); next != nullptr) {
      next->SetVisible(true);
      if (next->HandleAllocated()) BringWindowToTop(next->HandleIfAllocated());
    }
    if (previous != nullptr) previous->SetVisible(false);
  }
  if (hwnd() != nullptr) SendMessageW(hwnd(), TCM_SETCURSEL, static_cast<WPARAM>(TabItemOf(active_)), 0);
  if (raiseChange && OnChange) OnChange();
}

void TabControl::ActivateNeighbour(int step) {
  const int count = PageCount();
  int shown = 0;
  for (const TabSheet* page : pages_) shown += page->tabVisible_ ? 1 : 0;
  if (shown < 2) return;
  int index = active_ >= 0 ? active_ : (step > 0 ? count - 1 : 0);
  do {
    index = (index + step + count) % count;
  } while (!Page(index).tabVisible_);
  ActivatePage(index, true);
}

void TabControl::SetTabWidth(int width) {
  tabWidth_ = width;
  if (hwnd() == nullptr) return;
  SetStyleBit(TCS_FIXEDWIDTH, width > 0);
  RECT item{};
  int height = 0;
  if (SendMessageW(hwnd(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item))) height = item.bottom - item.top;
  SendMessageW(hwnd(), TCM_SETITEMSIZE, 0, MAKELPARAM(std::max(width, 0), height));
  InvalidateRect(hwnd(), nullptr, TRUE);
  PlaceSheets();
}

RECT TabControl::DisplayRect() {
  RECT area{};
  if (hwnd() == nullptr) return {0, 0, Width(), Height()};
  GetClientRect(hwnd(), &area);
  SendMessageW(hwnd(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  return area;
}

Control::CreateSpec TabControl::GetCreateSpec() {
  DWORD style = TCS_TABS | TCS_SINGLELINE | WS_CLIPCHILDREN;
  if (tabWidth_ > 0) style |= TCS_FIXEDWIDTH;
  return {.className = WC_TABCONTROLW, .style = style, .exStyle = WS_EX_CONTROLPARENT};
}

void TabControl::AfterCreateWindow() {
  RebuildTabs();
  if (tabWidth_ > 0) SetTabWidth(tabWidth_);
}

void TabControl::DpiChanged(int oldDpi, int newDpi) {
  if (tabWidth_ > 0) {
    SetTabWidth(MulDiv(tabWidth_, newDpi, oldDpi));
  } else {
    PlaceSheets();  // the row of tabs has the height of the new font
  }
}

bool TabControl::HandleMessage(Message& message) {
  if (message.msg == WM_SIZE) {
    message.result = CallDefault(message);
    PlaceSheets();
    return true;
  }
  return Control::HandleMessage(message);
}

bool TabControl::HandleNotify(NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case TCN_SELCHANGING:
      result = FALSE;  // allow
      return true;
    case TCN_SELCHANGE: {
      const int item = static_cast<int>(SendMessageW(hwnd(), TCM_GETCURSEL, 0, 0));
      ActivatePage(PageOfTabItem(item), true);
      result = 0;
      return true;
    }
    default: return false;
  }
}

void TabControl::Register(TabSheet* sheet) {
  pages_.push_back(sheet);
  if (hwnd() != nullptr && sheet->tabVisible_) {
    const int item = TabItemOf(PageCount() - 1);
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<wchar_t*>(sheet->WideText().c_str());
    SendMessageW(hwnd(), TCM_INSERTITEMW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&tab));
  }
  // Like the tab row itself, a control with no active page takes its first visible one.
  if (active_ < 0 && sheet->tabVisible_) {
    ActivatePage(PageCount() - 1, false);
  } else if (hwnd() != nullptr) {
    SendMessageW(hwnd(), TCM_SETCURSEL, static_cast<WPARAM>(TabItemOf(active_)), 0);
  }
}

namespace {

// The next visible page from index on, wrapping to the first; -1 when none is visible.
int NextVisiblePage(const std::vector<TabSheet*>& pages, int index) {
  const int count = static_cast<int>(pages.size());
  for (int step = 0; step < count; ++step) {
    const int candidate = (index + step) % count;
    if (pages[static_cast<std::size_t>(candidate)]->TabVisible()) return candidate;
  }
  return -1;
}

}  // namespace

void TabControl::Unregister(TabSheet* sheet) {
  const int index = IndexOf(*sheet);
  if (index < 0) return;
  const bool wasActive = index == active_;
  pages_.erase(pages_.begin() + index);
  if (index < active_) --active_;
  RebuildTabs();
  if (wasActive) {
    active_ = -1;
    sheet->SetVisible(false);
    // The page after the removed one, or the first when it was the last; no change event.
    if (!pages_.empty()) ActivatePage(NextVisiblePage(pages_, index % PageCount()), false);
  }
  if (hwnd() != nullptr) SendMessageW(hwnd(), TCM_SETCURSEL, static_cast<WPARAM>(TabItemOf(active_)), 0);
}

void TabControl::SheetCaptionChanged(TabSheet& sheet) {
  const int item = TabItemOf(IndexOf(sheet));
  if (hwnd() == nullptr || item < 0) return;
  TCITEMW tab{};
  tab.mask = TCIF_TEXT;
  tab.pszText = const_cast<wchar_t*>(sheet.WideText().c_str());
  SendMessageW(hwnd(), TCM_SETITEMW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&tab));
}

void TabControl::SheetVisibilityChanged(TabSheet& sheet) {
  RebuildTabs();
  const int index = IndexOf(sheet);
  if (!sheet.tabVisible_ && index == active_) {
    active_ = -1;
    sheet.SetVisible(false);
    const int next = NextVisiblePage(pages_, index);
    if (next >= 0) ActivatePage(next, false);
  } else if (sheet.tabVisible_ && active_ < 0) {
    ActivatePage(index, false);
  }
  if (hwnd() != nullptr) SendMessageW(hwnd(), TCM_SETCURSEL, static_cast<WPARAM>(TabItemOf(active_)), 0);
  PlaceSheets();
}

void TabControl::RebuildTabs() {
  if (hwnd() == nullptr) return;
  SendMessageW(hwnd(), TCM_DELETEALLITEMS, 0, 0);
  int item = 0;
  for (TabSheet* sheet : pages_) {
    if (!sheet->tabVisible_) continue;
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<wchar_t*>(sheet->WideText().c_str());
    SendMessageW(hwnd(), TCM_INSERTITEMW, static_cast<WPARAM>(item++), reinterpret_cast<LPARAM>(&tab));
  }
  SendMessageW(hwnd(), TCM_SETCURSEL, static_cast<WPARAM>(TabItemOf(active_)), 0);
}

void TabControl::PlaceSheets() {
  if (hwnd() == nullptr) return;
  const RECT area = DisplayRect();
  for (TabSheet* sheet : pages_) {
    sheet->SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top);
  }
}

int TabControl::TabItemOf(int pageIndex) const {
  if (pageIndex < 0 || pageIndex >= PageCount() || !pages_[static_cast<std::size_t>(pageIndex)]->tabVisible_) return -1;
  int item = 0;
  for (int i = 0; i < pageIndex; ++i) {
    if (pages_[static_cast<std::size_t>(i)]->tabVisible_) ++item;
  }
  return item;
}

int TabControl::PageOfTabItem(int item) const {
  if (item < 0) return -1;
  for (int i = 0; i < PageCount(); ++i) {
    if (!pages_[static_cast<std::size_t>(i)]->tabVisible_) continue;
    if (item-- == 0) return i;
  }
  return -1;
}

}  // namespace ui
