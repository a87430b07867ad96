#include "ui/file_drop_target.h"

#include <exception>

#include "ui/application.h"

namespace {

// The shell's names are read into a buffer of this size; a longer one is not taken.
constexpr UINT kNameBuffer = 260;
constexpr UINT kCountQuery = 0xFFFFFFFF;

}  // namespace

TDropDst::TDropDst(ui::Control* owner) : TControlHook(owner) {}

TDropDst::~TDropDst() = default;

void TDropDst::SetAcceptDrop(bool accept) {
  if (accept == acceptDrop_) return;
  acceptDrop_ = accept;
  UpdateDragAccept();
}

void TDropDst::Loaded() {
  TControlHook::Loaded();
  UpdateDragAccept();
}

void TDropDst::UpdateDragAccept() {
  // IsWindow also rules out the pending marker between WM_CREATE and the next message.
  HWND window = WindowHandle();
  if (window != nullptr && IsWindow(window)) DragAcceptFiles(window, acceptDrop_ ? TRUE : FALSE);
}

void TDropDst::DropFiles(HDROP drop) {
  if (!OnFileDrop) return;
  std::vector<std::string> files;
  const UINT count = DragQueryFileA(drop, kCountQuery, nullptr, 0);
  files.reserve(count);
  for (UINT i = 0; i < count; ++i) {
    // A name cut to the buffer would name another file (or none): leave it out instead.
    const UINT length = DragQueryFileA(drop, i, nullptr, 0);
    if (length == 0 || length >= kNameBuffer) continue;
    char name[kNameBuffer + 1] = {};
    DragQueryFileA(drop, i, name, kNameBuffer);
    files.emplace_back(name);
  }
  POINT point{};
  DragQueryPoint(drop, &point);  // whether it lies in the client area does not matter here
  // The handler may let messages run and replace OnFileDrop meanwhile; call a copy.
  const TFileDropEvent handler = OnFileDrop;
  handler(this, files, point.x, point.y);
}

void TDropDst::TargetHandleChanged(THandleEvent Event) {
  TControlHook::TargetHandleChanged(Event);
  // A new window carries no shell registration; a gone one gives handle 0 and nothing happens.
  UpdateDragAccept();
}

void TDropDst::TargetWndProc(ui::Message& message) {
  if (message.msg != WM_DROPFILES) {
    TControlHook::TargetWndProc(message);
    return;
  }
  // Finished with DragFinish on every way out, also when the handler fails.
  const DropHandle drop(reinterpret_cast<HDROP>(message.wParam));
  try {
    DropFiles(drop.get());
  } catch (...) {
    ui::App().HandleException(std::current_exception());
  }
  message.result = 0;
}
