#include "ui/button.h"

#include <oleacc.h>

#include <algorithm>
#include <vector>

#include "ui/focus_cue.h"
#include "ui/gdi.h"

namespace ui {
namespace {

COLORREF Blend(COLORREF a, COLORREF b) {
  return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2, (GetBValue(a) + GetBValue(b)) / 2);
}

// The buttons of button's group under its parent, in tab order (button among them).
std::vector<Button*> GroupOf(Button& button) {
  std::vector<Button*> group;
  if (button.GroupIndex() == 0 || button.Parent() == nullptr) return {&button};
  for (Control* sibling : button.Parent()->Children()) {
    auto* member = dynamic_cast<Button*>(sibling);
    if (member != nullptr && member->GroupIndex() == button.GroupIndex()) group.push_back(member);
  }
  return group;
}

}  // namespace

Button::Button(const ButtonArgs& args)
    : Control(args.parent), groupIndex_(args.groupIndex), down_(args.down), flat_(args.flat), keyboard_(args.tabStop) {
  SetText(args.caption);
  SetDesignBounds(args.left, args.top, args.width, args.height);
  if (keyboard_) SetTabStop(groupIndex_ == 0 || down_);
  CreateWindowIfReady();
}

Button::~Button() { ReleaseWindow(); }

void Button::SetDown(bool down) {
  if (down && groupIndex_ != 0) {
    for (Button* button : GroupOf(*this)) {
      if (button != this && button->down_) button->ChangeDown(false);
    }
  }
  if (down_ != down) ChangeDown(down);
}

void Button::ChangeDown(bool down) {
  down_ = down;
  if (keyboard_ && groupIndex_ != 0) SetTabStop(down);
  Invalidate();
  if (HWND window = hwnd(); window != nullptr)
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

void Button::Click() {
  // Clicking the pressed button of a group leaves it pressed.
  if (groupIndex_ != 0) SetDown(true);
  if (OnClick) OnClick();
}

void Button::PressNeighbour(int step) {
  std::vector<Button*> group = GroupOf(*this);
  std::erase_if(group,
                [this](const Button* button) { return button != this && (!button->Visible() || !button->Enabled()); });
  const auto self = std::find(group.begin(), group.end(), this);
  const int count = static_cast<int>(group.size());
  const int next = (static_cast<int>(self - group.begin()) + step % count + count) % count;
  Button& neighbour = *group[static_cast<std::size_t>(next)];
  neighbour.Click();
  neighbour.SetFocus();
}

Control::CreateSpec Button::GetCreateSpec() { return {.className = L"BUTTON", .style = BS_OWNERDRAW, .exStyle = 0}; }

bool Button::HandleMessage(Message& message) {
  switch (message.msg) {
    case BM_GETCHECK: message.result = down_ ? BST_CHECKED : BST_UNCHECKED; return true;
    case BM_GETSTATE:
      // The window knows whether it is pushed in (mouse or Space held) and has the focus; the
      // object knows whether it is down.
      message.result = (CallDefault(message) & ~LRESULT{BST_CHECKED | BST_INDETERMINATE}) | (down_ ? BST_CHECKED : 0);
      return true;
    case BM_SETCHECK:
      SetDown(message.wParam == BST_CHECKED);
      message.result = 0;
      return true;
    case WM_GETDLGCODE: message.result = CallDefault(message) | (groupIndex_ != 0 ? DLGC_WANTARROWS : 0); return true;
    case WM_KEYDOWN:
      if (groupIndex_ == 0) break;
      switch (message.wParam) {
        case VK_LEFT:
        case VK_UP: PressNeighbour(-1); return true;
        case VK_RIGHT:
        case VK_DOWN: PressNeighbour(1); return true;
        default: break;
      }
      break;
    default: break;
  }
  return Control::HandleMessage(message);
}

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
  if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
    RECT focus = item.rcItem;
    InflateRect(&focus, -2, -2);
    DrawFocusCue(dc, item.hwndItem, focus);
  }
  return true;
}

AccessibleTraits Button::Accessible() const {
  // What the system says of its own push-like check buttons: a push button, pressed while down.
  AccessibleTraits traits = Control::Accessible();
  traits.role = ROLE_SYSTEM_PUSHBUTTON;
  if (down_) traits.addedState |= STATE_SYSTEM_PRESSED;
  return traits;
}

}  // namespace ui
