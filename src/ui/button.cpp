#include "ui/button.h"

#include "ui/gdi.h"

namespace ui {
namespace {

COLORREF Blend(COLORREF a, COLORREF b) {
  return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2, (GetBValue(a) + GetBValue(b)) / 2);
}

}  // namespace

Button::Button(const ButtonArgs& args)
    : Control(args.parent), groupIndex_(args.groupIndex), down_(args.down), flat_(args.flat) {
  SetText(args.caption);
  SetDesignBounds(args.left, args.top, args.width, args.height);
  CreateWindowIfReady();
}

Button::~Button() { ReleaseWindow(); }

void Button::SetDown(bool down) {
  if (down && groupIndex_ != 0 && Parent() != nullptr) {
    for (Control* sibling : Parent()->Children()) {
      auto* button = dynamic_cast<Button*>(sibling);
      if (button == nullptr || button == this || button->groupIndex_ != groupIndex_ || !button->down_) continue;
      button->down_ = false;
      button->Invalidate();
    }
  }
  if (down_ == down) return;
  down_ = down;
  Invalidate();
}

void Button::Click() {
  // Clicking the pressed button of a group leaves it pressed.
  if (groupIndex_ != 0) SetDown(true);
  if (OnClick) OnClick();
}

Control::CreateSpec Button::GetCreateSpec() { return {.className = L"BUTTON", .style = BS_OWNERDRAW, .exStyle = 0}; }

bool Button::HandleCommand(WORD notifyCode) {
  if (notifyCode != BN_CLICKED && notifyCode != BN_DOUBLECLICKED) return false;
  Click();
  return true;
}

bool Button::HandleDrawItem(DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT area = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool sunken = down_ || pressed;
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  // A pressed-in group button shows a lighter face, as a latched key does.
  BrushHandle brush(CreateSolidBrush(down_ && !pressed ? Blend(face, GetSysColor(COLOR_BTNHIGHLIGHT)) : face));
  FillRect(dc, &area, brush.get());
  if (sunken) {
    DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  } else if (!flat_) {
    DrawEdge(dc, &area, EDGE_RAISED, BF_RECT | BF_ADJUST);
  } else {
    DrawEdge(dc, &area, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
  }
  if (sunken) OffsetRect(&area, 1, 1);
  SelectObjectScope font(dc, CurrentFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor((item.itemState & ODS_DISABLED) != 0 ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  std::wstring text = WideText();
  DrawTextW(dc, text.data(), static_cast<int>(text.size()), &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  return true;
}

}  // namespace ui
