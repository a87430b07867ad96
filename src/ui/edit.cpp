#include "ui/edit.h"

namespace ui {

Edit::Edit(const EditArgs& args) : Control(args.parent) {
  SetText(args.text);
  SetDesignBounds(args.left, args.top, args.width, args.height);
  SetTabStop(true);
  if (args.tabOrder >= 0) SetTabOrder(args.tabOrder);
  CreateWindowIfReady();
}

Edit::~Edit() { ReleaseWindow(); }

Control::CreateSpec Edit::GetCreateSpec() {
  return {.className = L"EDIT", .style = ES_AUTOHSCROLL | ES_LEFT, .exStyle = WS_EX_CLIENTEDGE};
}

bool Edit::HandleCommand(WORD notifyCode) {
  if (notifyCode != EN_CHANGE) return false;
  StoreTextFromWindow();
  if (OnChange) OnChange();
  return true;
}

// The edit's own white background, not the parent's face.
HBRUSH Edit::HandleCtlColor(HDC /*dc*/) { return nullptr; }

}  // namespace ui
