#pragma once

#include <cstdint>
#include <memory>

#include "ui/control.h"
#include "ui/form.h"
#include "ui/types.h"

// What happened to the hooked window.
enum THandleEvent : std::uint8_t {
  heDestroyed = 1,  // the window has gone
  heCreated = 2,    // the window has been made anew
};

// Which window a TControlHook takes the messages of.
enum THookTarget : std::uint8_t {
  htControl = 0,  // the control named by Control
  htForm = 1,     // the form that Control (or, without one, the hook's owner) belongs to
};

// Sits on a form and takes every message of one control's window before the control's own
// handling, by replacing the control's message-handler slot rather than subclassing the window:
// the slot belongs to the control object, so the hook outlives re-creations of the window (a
// stay-on-top switch re-creates a form with all its children). The base passes every message
// on unchanged and only tracks the window handle; descendants react to the window going and
// coming (TargetHandleChanged) and to messages (TargetWndProc).
//
// At most one hook per control; a hooked control may be destroyed before its hook.
class TControlHook {
 public:
  // owner: the form (or control) the hook sits on; not owned, must outlive the hook.
  explicit TControlHook(ui::Control* owner);
  TControlHook(const TControlHook&) = delete;
  TControlHook& operator=(const TControlHook&) = delete;
  virtual ~TControlHook();

  // Each setting removes the hook and installs it again, also with an unchanged value.
  // With htForm and no form to be found they throw std::runtime_error
  // "フック先を特定できません。" (UTF-8) and leave the hook removed; with htControl and no
  // control nothing is hooked, silently.
  [[nodiscard]] ui::Control* Control() const { return control_; }
  void SetControl(ui::Control* control);
  [[nodiscard]] THookTarget Target() const { return target_; }
  void SetTarget(THookTarget target);

  // The owning form is complete: installs the hook once more (Control set to itself). Call
  // it at the end of the form's constructor.
  virtual void Loaded();

  [[nodiscard]] ui::Control* Owner() const { return owner_; }
  // The control whose slot is replaced at present, or nullptr.
  [[nodiscard]] ui::Control* HookedControl() const { return hooked_; }
  // The hooked window as last seen: nullptr for none, PendingHandle() from the target's
  // WM_CREATE (or, for a target without a window yet, from hooking) until its next message,
  // otherwise the window.
  [[nodiscard]] HWND WindowHandle() const { return handle_; }
  // Never a valid window handle.
  static HWND PendingHandle() { return reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1)); }

  // htForm: the owner form of Control when set, else of the owner; htControl: Control.
  [[nodiscard]] ui::Control* FindTarget() const;
  // The component itself when it is a form, else the form at the top of its parent chain;
  // nullptr when there is none.
  [[nodiscard]] static ui::Form* FindOwnerForm(ui::Control* component);

 protected:
  // Install (true) or remove (false); see SetControl for the errors of installing.
  void SetHooked(bool hooked);
  // What the hook puts into the target's slot.
  void HookWndProc(ui::Message& message);

  // The target's window has gone (heDestroyed) or has been made anew (heCreated). Base: tracks the
  // handle (nullptr for 1, the control's new window for 2).
  virtual void TargetHandleChanged(THandleEvent Event);
  // One message of the target. Base: hands it to the handler that the hook replaced.
  virtual void TargetWndProc(ui::Message& message);

  // The hooked control is being destroyed (the ui layer's destroy notice): forget it
  // without touching it again.
  void Notification(ui::Control& component);

 private:
  void ControlDestroyed(ui::Control& component);
  void ForgetControlObserver();

  ui::Control* owner_;
  THookTarget target_ = htControl;
  ui::Control* control_ = nullptr;
  ui::Control* hooked_ = nullptr;
  HWND handle_ = nullptr;
  std::shared_ptr<ui::WindowProcSlot> saved_;  // the replaced slot content
  int hookedObserver_ = 0;                     // destroy-observer id on hooked_
  int controlObserver_ = 0;                    // destroy-observer id on control_
};
