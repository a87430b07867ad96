#include "ui/control_hook.h"

#include <stdexcept>
#include <utility>

#include "ui/text.h"

TControlHook::TControlHook(ui::Control* owner) : owner_(owner) {}

TControlHook::~TControlHook() {
  SetHooked(false);
  ForgetControlObserver();
}

void TControlHook::SetControl(ui::Control* control) {
  SetHooked(false);
  if (control != control_) {
    ForgetControlObserver();
    control_ = control;
    // Only the hooked control is tracked by the hook itself; with htForm the named control is
    // another object that may go first, and the reference must not outlive it.
    if (control_ != nullptr)
      controlObserver_ = control_->AddDestroyObserver([this](ui::Control& gone) { ControlDestroyed(gone); });
  }
  SetHooked(true);
}

void TControlHook::SetTarget(THookTarget target) {
  SetHooked(false);
  target_ = target;
  SetHooked(true);
}

void TControlHook::Loaded() { SetControl(control_); }

ui::Control* TControlHook::FindTarget() const {
  if (target_ == htForm) return FindOwnerForm(control_ != nullptr ? control_ : owner_);
  return control_;
}

ui::Form* TControlHook::FindOwnerForm(ui::Control* component) {
  if (component == nullptr) return nullptr;
  if (auto* form = dynamic_cast<ui::Form*>(component)) return form;
  return component->OwnerForm();
}

void TControlHook::SetHooked(bool hooked) {
  if (!hooked) {
    if (hooked_ == nullptr) return;
    hooked_->RemoveDestroyObserver(hookedObserver_);
    hookedObserver_ = 0;
    if (saved_) hooked_->WindowProc() = *saved_;
    saved_.reset();
    handle_ = nullptr;
    hooked_ = nullptr;
    return;
  }

  if (hooked_ != nullptr) SetHooked(false);  // one installation at a time
  ui::Control* target = FindTarget();
  if (target == nullptr) {
    if (target_ == htForm) throw std::runtime_error(ui::Utf8(u8"フック先を特定できません。"));
    return;
  }
  // A target whose window is made on demand is not made for the hook: the slot outlives
  // windows, and the window, once made, is told about on its first message like a new one.
  handle_ = target->HandleAllocated() ? target->Handle() : PendingHandle();
  hooked_ = target;
  hookedObserver_ = target->AddDestroyObserver([this](ui::Control& gone) { Notification(gone); });
  saved_ = std::make_shared<ui::WindowProcSlot>(target->WindowProc());
  target->WindowProc() = [this](ui::Message& message) { HookWndProc(message); };
}

void TControlHook::HookWndProc(ui::Message& message) {
  switch (message.msg) {
    case WM_CREATE: handle_ = PendingHandle(); break;
    case WM_DESTROY: TargetHandleChanged(heDestroyed); break;
    default:
      // The first message after WM_CREATE: the new window is complete enough to be told about.
      if (handle_ == PendingHandle() && hooked_ != nullptr && hooked_->HandleAllocated())
        TargetHandleChanged(heCreated);
      break;
  }
  TargetWndProc(message);
}

void TControlHook::TargetHandleChanged(THandleEvent Event) {
  if (Event == heDestroyed)
    handle_ = nullptr;
  else
    handle_ = hooked_ != nullptr ? hooked_->HandleIfAllocated() : nullptr;
}

void TControlHook::TargetWndProc(ui::Message& message) {
  // A handler further down may remove or re-install this hook while it runs (drops let
  // messages run); the shared copy keeps the handler alive until it returns.
  if (std::shared_ptr<ui::WindowProcSlot> next = saved_; next && *next) {
    (*next)(message);
  } else if (hooked_ != nullptr) {
    hooked_->DefaultHandler(message);
  }
}

void TControlHook::Notification(ui::Control& component) {
  if (&component != hooked_) return;
  TargetHandleChanged(heDestroyed);
  // The control is going away: its slot is not restored, and the observer list that is
  // calling us is not touched.
  hookedObserver_ = 0;
  hooked_ = nullptr;
}

void TControlHook::ControlDestroyed(ui::Control& component) {
  if (&component != control_) return;
  controlObserver_ = 0;
  control_ = nullptr;
}

void TControlHook::ForgetControlObserver() {
  if (control_ != nullptr && controlObserver_ != 0) control_->RemoveDestroyObserver(controlObserver_);
  controlObserver_ = 0;
}
