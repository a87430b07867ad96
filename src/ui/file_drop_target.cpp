#include "ui/file_drop_target.h"

#include <exception>

#include "ui/application.h"
#include "ui/text.h"
#include "win/late_bound.h"

namespace {

constexpr UINT kCountQuery = 0xFFFFFFFF;

// shell32 (and the DLLs it pulls in) loads only when the first drop arrives.
constexpr const wchar_t* kShell = L"shell32.dll";

UINT QueryFile(HDROP drop, UINT index, LPWSTR name, UINT length) {
  static auto* const query = win::LateBound<decltype(DragQueryFileW)>(kShell, "DragQueryFileW");
  return query != nullptr ? query(drop, index, name, length) : 0;
}

}  // namespace

void ui::FinishDrop(HDROP drop) {
  static auto* const finish = win::LateBound<decltype(DragFinish)>(kShell, "DragFinish");
  if (finish != nullptr) finish(drop);
}

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
  if (window == nullptr || !IsWindow(window)) return;
  // What DragAcceptFiles does, without loading shell32 at start-up.
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
  SetWindowLongPtrW(window, GWL_EXSTYLE, acceptDrop_ ? style | WS_EX_ACCEPTFILES : style & ~WS_EX_ACCEPTFILES);
}

void TDropDst::DropFiles(HDROP drop) {
  if (!OnFileDrop) return;
  std::vector<std::string> files;
  const UINT count = QueryFile(drop, kCountQuery, nullptr, 0);
  files.reserve(count);
  for (UINT i = 0; i < count; ++i) {
    // Each name is asked for its length first, so a path of any length arrives whole.
    const UINT length = QueryFile(drop, i, nullptr, 0);
    if (length == 0) continue;
    std::wstring name(length + 1, L'\0');
    const UINT copied = QueryFile(drop, i, name.data(), length + 1);
    name.resize(copied);
    files.push_back(ui::Utf8FromWide(name));
  }
  POINT point{};
  static auto* const queryPoint = win::LateBound<decltype(DragQueryPoint)>(kShell, "DragQueryPoint");
  // Whether it lies in the client area does not matter here.
  if (queryPoint != nullptr) queryPoint(drop, &point);
  // The handler may let messages run and replace OnFileDrop meanwhile; call a copy.
  const TFileDropEvent handler = OnFileDrop;
  handler(this, files, point.x, point.y);
}

void TDropDst::DropPaths(std::vector<std::string> paths) {
  if (paths.empty() || !OnFileDrop) return;
  const TFileDropEvent handler = OnFileDrop;
  handler(this, paths, 0, 0);
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
