#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/progress.h"
#include "ui/control.h"

namespace ui {

class StatusBar;

// One panel of a status bar; hands the core its progress line.
class StatusPanel final : public TextPanel {
 public:
  StatusPanel(StatusBar& bar, int index, int width) : bar_(&bar), index_(index), width_(width) {}
  void SetText(std::string_view text) override;
  void SetText(TextArg text);
  [[nodiscard]] std::string Text() const;  // UTF-8
  [[nodiscard]] const std::wstring& WideText() const { return text_; }
  [[nodiscard]] int Width() const { return width_; }
  void SetWidth(int width);

 private:
  friend class StatusBar;
  StatusBar* bar_;
  int index_;
  int width_;
  std::wstring text_;
};

struct StatusBarArgs {
  Control* parent = nullptr;
  std::vector<int> panelWidths{};  // designed at 96 DPI; the last panel takes whatever width is left
  int height = 19;
};

// A status bar aligned to the parent's bottom, with panels (never the single simple panel).
class StatusBar : public Control {
 public:
  explicit StatusBar(const StatusBarArgs& args);
  ~StatusBar() override;

  StatusPanel& AddPanel(int width);  // pixels
  [[nodiscard]] int PanelCount() const { return static_cast<int>(panels_.size()); }
  [[nodiscard]] StatusPanel& Panel(int index) const { return *panels_.at(static_cast<std::size_t>(index)); }
  void SetPanelText(int index, TextArg text) { Panel(index).SetText(std::move(text)); }
  [[nodiscard]] std::string PanelText(int index) const { return Panel(index).Text(); }

 protected:
  CreateSpec GetCreateSpec() override;
  void AfterCreateWindow() override;
  bool HandleMessage(Message& message) override;
  void DpiChanged(int oldDpi, int newDpi) override;

 private:
  friend class StatusPanel;
  void ApplyParts();
  void ApplyText(const StatusPanel& panel);
  std::vector<std::unique_ptr<StatusPanel>> panels_;
};

}  // namespace ui
