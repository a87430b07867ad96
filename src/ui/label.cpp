#include "ui/label.h"

namespace ui {

Label::Label(const LabelArgs& args) : Control(args.parent) {
  SetText(args.caption);
  SetDesignBounds(args.left, args.top, args.width, args.height);
  CreateWindowIfReady();
}

Label::~Label() { ReleaseWindow(); }

Control::CreateSpec Label::GetCreateSpec() { return {.className = L"STATIC", .style = SS_LEFT, .exStyle = 0}; }

}  // namespace ui
