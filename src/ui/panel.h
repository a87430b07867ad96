#pragma once

#include "ui/control.h"

namespace ui {

struct PanelArgs {
  Control* parent = nullptr;
  TextArg caption{};
  int left = 0, top = 0, width = 185, height = 41;
  Align align = Align::None;
  Bevel bevelOuter = Bevel::Raised;
  Bevel bevelInner = Bevel::None;
  bool visible = true;
};

// A container that draws its caption centred inside one or two bevel rings. With both bevels
// None it is a plain frame for other controls (a list page, for example). Disabled, it takes
// no clicks. The font colour (SetFontColor) colours the caption.
class Panel : public Control {
 public:
  explicit Panel(const PanelArgs& args);
  ~Panel() override;

  void SetBevelOuter(Bevel bevel);
  void SetBevelInner(Bevel bevel);
  [[nodiscard]] Bevel BevelOuter() const { return bevelOuter_; }
  [[nodiscard]] Bevel BevelInner() const { return bevelInner_; }

 protected:
  CreateSpec GetCreateSpec() override;
  bool HandleMessage(Message& message) override;
  RECT AlignRect() override;

 private:
  void Paint();
  Bevel bevelOuter_;
  Bevel bevelInner_;
};

}  // namespace ui
