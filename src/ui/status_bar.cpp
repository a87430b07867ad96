#include "ui/status_bar.h"

#include <commctrl.h>

namespace ui {

void StatusPanel::SetText(std::string_view text) { SetText(TextArg(text)); }

void StatusPanel::SetText(TextArg text) {
  text_ = std::move(text).Value();
  bar_->ApplyText(*this);
}

std::string StatusPanel::Text() const { return Utf8FromWide(text_); }

void StatusPanel::SetWidth(int width) {
  width_ = width;
  bar_->ApplyParts();
}

StatusBar::StatusBar(const StatusBarArgs& args) : Control(args.parent) {
  SetDesignBounds(0, 0, 0, args.height);
  SetAlign(Align::Bottom);
  for (int width : args.panelWidths) AddPanel(Scaled(width));
  CreateWindowIfReady();
}

StatusBar::~StatusBar() { ReleaseWindow(); }

StatusPanel& StatusBar::AddPanel(int width) {
  panels_.push_back(std::make_unique<StatusPanel>(*this, PanelCount(), width));
  ApplyParts();
  return *panels_.back();
}

Control::CreateSpec StatusBar::GetCreateSpec() {
  // Laid out by Align like any control, not by the bar's own parent tracking.
  return {.className = STATUSCLASSNAMEW, .style = CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, .exStyle = 0};
}

void StatusBar::AfterCreateWindow() {
  SendMessageW(hwnd(), SB_SIMPLE, FALSE, 0);
  ApplyParts();
  for (const auto& panel : panels_) ApplyText(*panel);
}

bool StatusBar::HandleMessage(Message& message) { return Control::HandleMessage(message); }

void StatusBar::DpiChanged(int oldDpi, int newDpi) {
  for (const auto& panel : panels_) panel->width_ = MulDiv(panel->width_, newDpi, oldDpi);
  ApplyParts();
}

void StatusBar::ApplyParts() {
  if (hwnd() == nullptr || panels_.empty()) return;
  std::vector<int> rights;
  int right = 0;
  for (const auto& panel : panels_) {
    right += panel->width_;
    rights.push_back(right);
  }
  rights.back() = -1;  // the last panel reaches the right edge
  SendMessageW(hwnd(), SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
}

void StatusBar::ApplyText(const StatusPanel& panel) {
  if (hwnd() == nullptr) return;
  SendMessageW(hwnd(), SB_SETTEXTW, static_cast<WPARAM>(panel.index_), reinterpret_cast<LPARAM>(panel.text_.c_str()));
}

}  // namespace ui
