#include "ui/panel.h"

#include "ui/focus_cue.h"
#include "ui/gdi.h"

namespace ui {
namespace {

// One-pixel rings as a panel draws them: raised = highlight above, shadow below.
UINT EdgeOf(Bevel bevel) {
  switch (bevel) {
    case Bevel::Raised: return BDR_RAISEDINNER;
    case Bevel::Lowered: return BDR_SUNKENOUTER;
    case Bevel::None: break;
  }
  return 0;
}

}  // namespace

Panel::Panel(const PanelArgs& args) : Control(args.parent), bevelOuter_(args.bevelOuter), bevelInner_(args.bevelInner) {
  SetText(args.caption);
  SetDesignBounds(args.left, args.top, args.width, args.height);
  SetAlign(args.align);
  if (!args.visible) SetVisible(false);
  SetTabStop(args.tabStop);
  CreateWindowIfReady();
}

Panel::~Panel() { ReleaseWindow(); }

void Panel::SetBevelOuter(Bevel bevel) {
  bevelOuter_ = bevel;
  Invalidate();
  Realign();
}

void Panel::SetBevelInner(Bevel bevel) {
  bevelInner_ = bevel;
  Invalidate();
  Realign();
}

Control::CreateSpec Panel::GetCreateSpec() {
  return {.className = nullptr, .style = WS_CLIPCHILDREN, .exStyle = TabStop() ? 0U : WS_EX_CONTROLPARENT};
}

RECT Panel::AlignRect() {
  RECT area = Control::AlignRect();
  const int inset = (bevelOuter_ != Bevel::None ? 1 : 0) + (bevelInner_ != Bevel::None ? 1 : 0);
  InflateRect(&area, -inset, -inset);
  return area;
}

void Panel::Paint() {
  PaintDc paint(hwnd());
  RECT area{};
  GetClientRect(hwnd(), &area);
  FillRect(paint.get(), &area, GetSysColorBrush(COLOR_BTNFACE));
  if (UINT edge = EdgeOf(bevelOuter_); edge != 0) DrawEdge(paint.get(), &area, edge, BF_RECT | BF_ADJUST);
  if (UINT edge = EdgeOf(bevelInner_); edge != 0) DrawEdge(paint.get(), &area, edge, BF_RECT | BF_ADJUST);
  if (Focused()) {
    RECT focus = area;
    InflateRect(&focus, -1, -1);
    DrawFocusCue(paint.get(), hwnd(), focus);
  }
  if (WideText().empty()) return;
  SelectObjectScope font(paint.get(), CurrentFont());
  SetBkMode(paint.get(), TRANSPARENT);
  SetTextColor(paint.get(), FontColor().Resolve());
  std::wstring text = WideText();
  DrawTextW(paint.get(), text.data(), static_cast<int>(text.size()), &area,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
}

void Panel::Invoke(POINT at) {
  if (!OnInvoke) return;
  // The handler may show a dialog, during which messages run and OnInvoke may be set anew.
  const std::function<void(POINT)> handler = OnInvoke;
  handler(at);
}

bool Panel::HandleMessage(Message& message) {
  switch (message.msg) {
    case WM_GETDLGCODE: {
      if (!OnInvoke) return false;
      // Enter reaches the panel rather than the dialog manager's default button; the characters
      // of Enter and Space are what invoke it, so that none is left over for the dialog it opens.
      const auto* key = reinterpret_cast<const MSG*>(message.lParam);
      const bool enter = key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
      message.result = DLGC_WANTCHARS | (enter ? DLGC_WANTMESSAGE : 0);
      return true;
    }
    case WM_CHAR:
      if (!OnInvoke || (message.wParam != L'\r' && message.wParam != L' ')) return false;
      Invoke([this] {
        POINT centre{ClientWidth() / 2, ClientHeight() / 2};
        ClientToScreen(hwnd(), &centre);
        return centre;
      }());
      message.result = 0;
      return true;
    case WM_LBUTTONDBLCLK: {
      POINT at{static_cast<short>(LOWORD(message.lParam)), static_cast<short>(HIWORD(message.lParam))};
      ClientToScreen(hwnd(), &at);
      Invoke(at);
      message.result = 0;
      return true;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); return false;
    case WM_PAINT:
      Paint();
      message.result = 0;
      return true;
    case WM_ERASEBKGND:
      message.result = 1;  // WM_PAINT fills the whole area
      return true;
    case WM_SIZE: Invalidate(); return Control::HandleMessage(message);
    case WM_SETTEXT:
      message.result = CallDefault(message);
      Invalidate();
      return true;
    default: return Control::HandleMessage(message);
  }
}

}  // namespace ui
