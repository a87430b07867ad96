#pragma once

#include <functional>

#include "ui/control.h"

namespace ui {

struct CheckBoxArgs {
  Control* parent = nullptr;
  TextArg caption{};
  int left = 0, top = 0, width = 97, height = 17;
  bool checked = false;
  int tabOrder = -1;  // -1: after the siblings made before it
};

// A check box (BS_AUTOCHECKBOX). Checked is kept in the object. OnClick runs when the user
// clicks it (or presses Space), after the state has changed; SetChecked from code raises
// no OnClick.
class CheckBox : public Control {
 public:
  explicit CheckBox(const CheckBoxArgs& args);
  ~CheckBox() override;

  [[nodiscard]] bool Checked() const { return checked_; }
  void SetChecked(bool checked);

  std::function<void()> OnClick;

 protected:
  CreateSpec GetCreateSpec() override;
  void AfterCreateWindow() override;
  bool HandleCommand(WORD notifyCode) override;

 private:
  bool checked_;
};

}  // namespace ui
