#pragma once

#include <functional>
#include <string>

#include "ui/control.h"

namespace ui {

struct EditArgs {
  Control* parent = nullptr;
  TextArg text{};
  int left = 0, top = 0, width = 121, height = 20;
  int tabOrder = -1;  // -1: after the siblings made before it
};

// A single-line edit box with a sunken border. Text() (UTF-8, from Control) follows what the
// user types.
class Edit : public Control {
 public:
  explicit Edit(const EditArgs& args);
  ~Edit() override;

  std::function<void()> OnChange;  // after every change of the text (by the user or SetText)

 protected:
  CreateSpec GetCreateSpec() override;
  bool HandleCommand(WORD notifyCode) override;
  HBRUSH HandleCtlColor(HDC dc) override;
};

}  // namespace ui
