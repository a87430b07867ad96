#pragma once

#include <functional>

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
  // A tab stop itself, not a container that Tab navigation passes through: the dialog manager
  // steps into a container's children and never stops on the container.
  bool tabStop = false;
};

// A container that draws its caption centred inside one or two bevel rings. With both bevels
// None it is a plain frame for other controls (a list page, for example). Disabled, it takes
// no clicks. The font colour (SetFontColor) colours the caption. With the keyboard focus it
// shows a focus rectangle inside its bevels; a click does not give it the focus.
class Panel : public Control {
 public:
  explicit Panel(const PanelArgs& args);
  ~Panel() override;

  // A double click, or Enter or Space while the panel has the keyboard focus; at: the screen
  // point of the click, or the panel's centre for a key.
  std::function<void(POINT at)> OnInvoke;

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
  void Invoke(POINT at);
  Bevel bevelOuter_;
  Bevel bevelInner_;
};

}  // namespace ui
