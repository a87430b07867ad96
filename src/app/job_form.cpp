#include "app/job_form.h"

#include "ui/application.h"

TJobForm::TJobForm(const ui::FormArgs& args) : ui::Form(args) {}

TJobForm::~TJobForm() = default;

ui::MenuItem& TJobForm::AddPrevTabItem(ui::PopupMenu& menu) {
  return menu.Add(
      {.caption = u8"前のタブ", .shortcut = {.key = VK_TAB, .shift = true}, .onClick = [this] { MenuPrevTabClick(); }});
}

ui::MenuItem& TJobForm::AddNextTabItem(ui::PopupMenu& menu) {
  return menu.Add({.caption = u8"次のタブ", .shortcut = {.key = VK_TAB}, .onClick = [this] { MenuNextTabClick(); }});
}

ui::MenuItem& TJobForm::AddCancelCloseItem(ui::PopupMenu& menu) {
  return menu.Add({.caption = u8"キャンセル/閉じる(&C)", .shortcut = {.key = VK_ESCAPE}});
}

ui::MenuItem& TJobForm::AddOpenItem(ui::PopupMenu& menu, std::function<void()> onClick) {
  return menu.Add({.caption = u8"開く(&O)...", .shortcut = {.key = 'O', .ctrl = true}, .onClick = std::move(onClick)});
}

void TJobForm::BindPages(ui::TabControl& pages, ui::MenuItem& cancelClose) {
  pages_ = &pages;
  cancelClose_ = &cancelClose;
  BindCancelClose(false);
}

TListPage* TJobForm::PageAt(int index) const {
  if (index < 0 || index >= pages_->PageCount()) return nullptr;
  const auto& children = pages_->Page(index).Children();
  return children.empty() ? nullptr : dynamic_cast<TListPage*>(children.front());
}

void TJobForm::MenuCancelClick() {
  for (std::stop_source& intake : intakes_) intake.request_stop();
}

void TJobForm::BindCancelClose(bool cancel) {
  if (cancel) {
    cancelClose_->OnClick = [this] { MenuCancelClick(); };
  } else {
    cancelClose_->OnClick = [this] { MenuCloseClick(); };
  }
}

TJobForm::IntakeScope::IntakeScope(TJobForm& form) : form_(form) {
  form_.intakes_.push_back(cancel_);
  form_.BindCancelClose(true);
}

TJobForm::IntakeScope::~IntakeScope() {
  // Intakes nest on the stack of message rounds: the one that ends is the innermost.
  form_.intakes_.pop_back();
  if (form_.intakes_.empty()) form_.BindCancelClose(false);
}

std::string TJobForm::TabCaption(const std::string& name) {
  std::string caption;
  for (const char c : name) {
    if (c == '&') caption += '&';
    caption += c;
  }
  return caption;
}

void TJobForm::ActivateNeighbour(int step) { pages_->ActivateNeighbour(step); }

void TJobForm::RemovePage(const TListPage& page) {
  for (int i = 0; i < pages_->PageCount(); ++i) {
    if (PageAt(i) == &page) {
      pages_->RemoveSheet(i);
      return;
    }
  }
}

void TJobForm::RemoveIdlePages() {
  for (int i = pages_->PageCount() - 1; i >= 0; --i) {
    const TListPage* page = PageAt(i);
    if (page == nullptr || !page->Running()) pages_->RemoveSheet(i);
  }
}

void TJobForm::CloseJob() {
  const ui::Form* main = ui::App().MainForm();
  if (main != nullptr && main != this && !main->Visible()) ui::App().Terminate();
  MenuCancelClick();
}
