#include "ui/check_box.h"

namespace ui {

CheckBox::CheckBox(const CheckBoxArgs& args) : Control(args.parent), checked_(args.checked) {
  SetText(args.caption);
  SetDesignBounds(args.left, args.top, args.width, args.height);
  SetTabStop(true);
  if (args.tabOrder >= 0) SetTabOrder(args.tabOrder);
  CreateWindowIfReady();
}

CheckBox::~CheckBox() { ReleaseWindow(); }

void CheckBox::SetChecked(bool checked) {
  checked_ = checked;
  if (hwnd() != nullptr) SendMessageW(hwnd(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

Control::CreateSpec CheckBox::GetCreateSpec() {
  return {.className = L"BUTTON", .style = BS_AUTOCHECKBOX, .exStyle = 0};
}

void CheckBox::AfterCreateWindow() { SetChecked(checked_); }

bool CheckBox::HandleCommand(WORD notifyCode) {
  if (notifyCode != BN_CLICKED) return false;
  checked_ = SendMessageW(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED;
  if (OnClick) OnClick();
  return true;
}

}  // namespace ui
