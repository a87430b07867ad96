#include "ui/file_drop_target.h"

#include <exception>

#include "ui/application.h"
#include "ui/text.h"

namespace {

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
  const UINT count = DragQueryFileW(drop, kCountQuery, nullptr, 0);
  files.reserve(count);
  for (UINT i = 0; i < count; ++i) {
    // Each name is asked for its length first, so a path of any length arrives whole.
    const UINT length = DragQueryFileW(drop, i, nullptr, 0);
    if (length == 0) continue;
    std::wstring name(length + 1, L'\0');
    const UINT copied = DragQueryFileW(drop, i, name.data(), length + 1);
    name.resize(copied);
    files.push_back(ui::Utf8FromWide(name));
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
