#include "ui/form.h"

#include "ui/application.h"
#include "ui/dpi.h"

namespace ui {
namespace {

DWORD StyleOf(BorderStyle style) {
  switch (style) {
    case BorderStyle::FixedSingle: return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    case BorderStyle::SizeableTool: return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    case BorderStyle::Sizeable: break;
  }
  return WS_OVERLAPPEDWINDOW;
}

DWORD ExStyleOf(BorderStyle style) { return style == BorderStyle::SizeableTool ? WS_EX_TOOLWINDOW : 0; }

}  // namespace

Form::Form(const FormArgs& args) : Control(nullptr), borderStyle_(args.borderStyle) {
  // The screen's DPI until the window tells its monitor's.
  dpi_ = ScreenDpi();
  minWidth_ = Scaled(args.minWidth);
  minHeight_ = Scaled(args.minHeight);
  Control::SetVisible(false);
  SetText(args.caption);
  if (!args.font.face.Empty()) SetFont(args.font);
  int width = Scaled(args.width);
  int height = Scaled(args.height);
  if (args.clientWidth > 0 && args.clientHeight > 0) {
    RECT bounds{0, 0, Scaled(args.clientWidth), Scaled(args.clientHeight)};
    AdjustWindowRectForDpi(bounds, StyleOf(borderStyle_), ExStyleOf(borderStyle_) | WS_EX_CONTROLPARENT, dpi_);
    width = bounds.right - bounds.left;
    height = bounds.bottom - bounds.top;
  }
  SetBounds(args.left, args.top, width, height);
  if (!args.windowOnDemand) CreateWindowIfReady();
}

Form::~Form() {
  if (App().MainForm() == this) App().SetMainForm(nullptr);
  ReleaseWindow();
}

void Form::DoCreate() {
  if (created_) return;
  created_ = true;
  if (OnCreate) OnCreate();
}

Control::CreateSpec Form::GetCreateSpec() {
  DWORD exStyle = ExStyleOf(borderStyle_) | WS_EX_CONTROLPARENT;
  if (stayOnTop_) exStyle |= WS_EX_TOPMOST;
  return {.className = nullptr, .style = StyleOf(borderStyle_) | WS_CLIPCHILDREN, .exStyle = exStyle};
}

void Form::AfterCreateWindow() {
  // The form was laid out for the screen's DPI; the window knows its monitor's.
  if (const int dpi = WindowDpi(hwnd()); dpi != dpi_) ChangeDpi(dpi, nullptr);
}

void Form::BeforeDestroyWindow() { lastFocus_ = nullptr; }

void Form::SetVisible(bool visible) {
  if (visible == Visible()) {
    if (visible && hwnd() != nullptr) {
      SetWindowPos(hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    return;
  }
  if (visible && OnShow) OnShow();
  if (visible) HandleNeeded();
  Control::SetVisible(visible);
  if (visible && hwnd() != nullptr) {
    ShowWindow(hwnd(), SW_SHOW);
    UpdateWindow(hwnd());
  }
}

void Form::Close() {
  if (OnClose) OnClose();
  Hide();
  if (App().MainForm() == this) App().Terminate();
}

void Form::BringToFront() {
  if (HWND window = Handle(); window != nullptr) SetForegroundWindow(window);
}

void Form::SetBorderStyle(BorderStyle style) {
  borderStyle_ = style;
  RecreateWindow();
}

void Form::SetMinSize(int width, int height) {
  minWidth_ = width;
  minHeight_ = height;
}

void Form::SetClientSize(int width, int height) {
  const CreateSpec spec = GetCreateSpec();
  RECT bounds{0, 0, width, height};
  AdjustWindowRectForDpi(bounds, spec.style, spec.exStyle, Dpi());
  SetBounds(Left(), Top(), bounds.right - bounds.left, bounds.bottom - bounds.top);
}

void Form::SetStayOnTop(bool onTop) {
  stayOnTop_ = onTop;
  if (hwnd() != nullptr) {
    SetWindowPos(hwnd(), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void Form::ChangeDpi(int newDpi, const RECT* bounds) {
  const int oldDpi = Dpi();
  if (newDpi <= 0 || newDpi == oldDpi) return;
  dpi_ = newDpi;
  minWidth_ = MulDiv(minWidth_, newDpi, oldDpi);
  minHeight_ = MulDiv(minHeight_, newDpi, oldDpi);
  RescaleChildren(oldDpi, newDpi);
  if (bounds != nullptr) {
    SetBounds(bounds->left, bounds->top, bounds->right - bounds->left, bounds->bottom - bounds->top);
  } else {
    SetBounds(Left(), Top(), MulDiv(Width(), newDpi, oldDpi), MulDiv(Height(), newDpi, oldDpi));
  }
  Realign();
  if (OnDpiChanged) OnDpiChanged();
}

bool Form::HandleMessage(Message& message) {
  switch (message.msg) {
    case WM_DPICHANGED:
      ChangeDpi(LOWORD(message.wParam), reinterpret_cast<const RECT*>(message.lParam));
      message.result = 0;
      return true;
    case WM_CLOSE:
      Close();
      message.result = 0;
      return true;
    case WM_GETMINMAXINFO:
      if (minWidth_ > 0 || minHeight_ > 0) {
        auto* info = reinterpret_cast<MINMAXINFO*>(message.lParam);
        info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, minWidth_);
        info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, minHeight_);
        message.result = 0;
        return true;
      }
      return false;
    case WM_ACTIVATE:
      // Keeps the keyboard focus where the user left it, as a dialog does.
      if (LOWORD(message.wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd(), focus)) lastFocus_ = focus;
        return false;
      }
      if (lastFocus_ != nullptr && IsWindow(lastFocus_) && IsChild(hwnd(), lastFocus_)) {
        ::SetFocus(lastFocus_);
        message.result = 0;
        return true;
      }
      return false;
    default: return Control::HandleMessage(message);
  }
}

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

}  // namespace ui
