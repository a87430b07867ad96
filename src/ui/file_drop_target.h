#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/control_hook.h"
#include "win/handle.h"

class TDropDst;

namespace ui {
// DragFinish, from shell32 loaded at the first drop.
void FinishDrop(HDROP drop);
}  // namespace ui

// Owns a drop from WM_DROPFILES until DragFinish.
using DropHandle = win::Handle<win::NullInvalidTraits<HDROP, ui::FinishDrop>>;

// One shell drop: the dropped paths (UTF-8, whole whatever their length, in the shell's order;
// valid only during the call, copy what must be kept) and the drop point in client pixels of the window that received
// it.
using TFileDropEvent = std::function<void(TDropDst* Sender, std::vector<std::string>& Files, int X, int Y)>;

// Makes a control (htControl) or a form (htForm) accept files dropped from the shell and
// reports each drop through OnFileDrop. Every new window of the target is registered with the
// shell again, so drops keep working across window re-creation.
//
// The handler runs inside the target's WM_DROPFILES and may let messages run; a second drop
// is then handled completely inside the first. An error escaping the handler goes to the
// application's standard error report; the drop is finished (DragFinish) in every case.
class TDropDst : public TControlHook {
 public:
  explicit TDropDst(ui::Control* owner);
  ~TDropDst() override;

  TFileDropEvent OnFileDrop;

  [[nodiscard]] bool AcceptDrop() const { return acceptDrop_; }
  // Registers or unregisters the target's window with the shell when the value changes.
  void SetAcceptDrop(bool accept);

  // Installs the hook again, then registers the target's window.
  void Loaded() override;

  // DragAcceptFiles(window, AcceptDrop) when the hooked window exists.
  void UpdateDragAccept();
  // Reads the drop and calls OnFileDrop (nothing without a handler).
  void DropFiles(HDROP drop);
  // Paths that came another way (a dialog) go to OnFileDrop as a drop of them would, at the point
  // (0, 0); nothing without paths.
  void DropPaths(std::vector<std::string> paths);

 protected:
  void TargetHandleChanged(THandleEvent Event) override;
  // WM_DROPFILES is handled here and not passed on.
  void TargetWndProc(ui::Message& message) override;

 private:
  bool acceptDrop_ = true;
};
