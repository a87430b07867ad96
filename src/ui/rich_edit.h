#pragma once

#include <string>
#include <string_view>

#include "ui/control.h"

namespace ui {

struct RichEditArgs {
  Control* parent = nullptr;
  int left = 0, top = 0, width = 185, height = 89;
  Align align = Align::None;
  bool readOnly = true;
};

// A multi-line plain-text box (rich edit class) with both scroll bars and no word wrap.
// The text is UTF-8 data with CR LF line ends, set and read back byte for byte.
class RichEdit : public Control {
 public:
  explicit RichEdit(const RichEditArgs& args);
  ~RichEdit() override;

  // Replaces the whole content.
  void SetText(std::string_view text);
  // The content as UTF-8, lines ending in CR LF (read from the window when it has one).
  [[nodiscard]] std::string Text() const;

  void SelectAll();
  // Copies the selection to the clipboard (the window's own copy).
  void CopyToClipboard();
  [[nodiscard]] int SelLength() const;
  // Collapses the selection to its start (selection length 0).
  void ClearSelection();

 protected:
  CreateSpec GetCreateSpec() override;
  void AfterCreateWindow() override;

 private:
  std::string text_;
  bool readOnly_;
};

}  // namespace ui
