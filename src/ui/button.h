#pragma once

#include <functional>

#include "ui/control.h"

namespace ui {

struct ButtonArgs {
  Control* parent = nullptr;
  TextArg caption{};
  int left = 0, top = 0, width = 23, height = 22;
  // Buttons of one parent with the same non-zero group form an exclusive group: exactly one
  // is down once any is; clicking the down one keeps it down. 0: a plain push button.
  int groupIndex = 0;
  bool down = false;
  bool flat = true;
  // Reachable by Tab. In a group only the button that is down is a tab stop, and the arrow keys
  // press the previous or next button of the group, as among radio buttons.
  bool tabStop = false;
};

// A flat speed button (owner-drawn): sunken while down, a focus rectangle while it has the
// keyboard focus (unless the window hides focus cues). Its Down state lives in the object; the
// window answers BM_GETCHECK and BM_GETSTATE with it, and its accessible object is a push button
// that is pressed while down.
class Button : public Control {
 public:
  explicit Button(const ButtonArgs& args);
  ~Button() override;

  [[nodiscard]] bool Down() const { return down_; }
  // Pressing (true) releases the other buttons of the group; releasing a grouped button is
  // allowed from code. Raises no OnClick.
  void SetDown(bool down);
  [[nodiscard]] int GroupIndex() const { return groupIndex_; }
  // What a user click does: press (in a group), then OnClick.
  void Click();

  std::function<void()> OnClick;

 protected:
  CreateSpec GetCreateSpec() override;
  bool HandleMessage(Message& message) override;
  bool HandleCommand(WORD notifyCode) override;
  bool HandleDrawItem(DRAWITEMSTRUCT& item) override;
  AccessibleTraits Accessible() const override;

 private:
  // Sets the state and tells whoever watches (the window, the tab stop, screen readers).
  void ChangeDown(bool down);
  // Presses the button step places away in the group (wrapping around) and gives it the focus.
  void PressNeighbour(int step);

  int groupIndex_;
  bool down_;
  bool flat_;
  bool keyboard_;
};

}  // namespace ui
