#pragma once

#include "ui/control.h"

namespace ui {

struct LabelArgs {
  Control* parent = nullptr;
  TextArg caption{};
  int left = 0, top = 0, width = 65, height = 12;
};

// A static text on the parent's background.
class Label : public Control {
 public:
  explicit Label(const LabelArgs& args);
  ~Label() override;

 protected:
  CreateSpec GetCreateSpec() override;
};

}  // namespace ui
