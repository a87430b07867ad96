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
};

// A flat speed button (owner-drawn): sunken while down, no focus rectangle, no tab stop.
// Its Down state lives in the object.
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
  bool HandleCommand(WORD notifyCode) override;
  bool HandleDrawItem(DRAWITEMSTRUCT& item) override;

 private:
  int groupIndex_;
  bool down_;
  bool flat_;
};

}  // namespace ui
