#include "ui/control.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <unordered_map>
#include <utility>

#include "ui/application.h"
#include "ui/dpi.h"
#include "ui/form.h"
#include "ui/popup_menu.h"
#include "ui/window_class.h"

namespace ui {
namespace {

// The object of every window that has one. Kept in the process rather than in window
// properties: under Wine each property lookup is a round trip to the server, and it would be
// paid for every message and notification.
std::unordered_map<HWND, Control*>& ControlsByWindow() {
  static std::unordered_map<HWND, Control*> controls;
  return controls;
}

RECT WindowBoundsInParent(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0) {
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&bounds), 2);
  }
  return bounds;
}

}  // namespace

Control::Control(Control* parent) : parent_(parent) {
  windowProc_ = [this](Message& message) { DefaultHandler(message); };
  if (parent_ != nullptr) parent_->AddChild(this);
}

Control::~Control() {
  destroying_ = true;
  // Observers forget this control; the slot goes back to the default so that no hook is
  // called for the messages of the window's destruction.
  auto observers = std::move(destroyObservers_);
  for (auto& [id, observer] : observers) {
    try {
      observer(*this);
    } catch (...) {
      App().HandleException(std::current_exception());
    }
  }
  windowProc_ = [this](Message& message) { DefaultHandler(message); };
  if (popupMenu_ != nullptr) std::erase(popupMenu_->attached_, this);
  owned_.clear();
  for (Control* child : children_) child->parent_ = nullptr;
  children_.clear();
  ReleaseWindow();
  if (parent_ != nullptr) parent_->RemoveChild(this);
}

// ---- tree

Form* Control::OwnerForm() {
  Control* top = this;
  while (top->parent_ != nullptr) top = top->parent_;
  return dynamic_cast<Form*>(top);
}

void Control::AdoptControl(std::unique_ptr<Control> child) {
  if (child->parent_ != this) throw std::logic_error("Adopt: the control's parent is another one");
  owned_.push_back(std::move(child));
}

void Control::DestroyChild(Control& child) {
  auto found = std::find_if(owned_.begin(), owned_.end(), [&](const auto& owned) { return owned.get() == &child; });
  if (found == owned_.end()) return;
  std::unique_ptr<Control> doomed = std::move(*found);
  owned_.erase(found);
  doomed.reset();
}

void Control::AddChild(Control* child) {
  child->tabOrder_ = static_cast<int>(children_.size());
  child->sequence_ = nextChildSequence_++;
  children_.push_back(child);
}

void Control::RemoveChild(Control* child) { std::erase(children_, child); }

void Control::SortChildren() {
  std::sort(children_.begin(), children_.end(), [](const Control* a, const Control* b) {
    if (a->tabOrder_ != b->tabOrder_) return a->tabOrder_ < b->tabOrder_;
    if (a->tabOrderSet_ != b->tabOrderSet_) return a->tabOrderSet_;
    return a->sequence_ < b->sequence_;
  });
}

void Control::ApplyZOrder() {
  HWND previous = nullptr;
  for (Control* child : children_) {
    if (child->hwnd_ == nullptr) continue;
    // Moving a window costs far more than asking where it is; most are in place already.
    if (GetWindow(child->hwnd_, GW_HWNDPREV) != previous) {
      SetWindowPos(child->hwnd_, previous != nullptr ? previous : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    previous = child->hwnd_;
  }
}

Control* Control::FromHandle(HWND window) {
  if (window == nullptr) return nullptr;
  const auto& controls = ControlsByWindow();
  const auto found = controls.find(window);
  return found != controls.end() ? found->second : nullptr;
}

// ---- window

HWND Control::Handle() {
  if (hwnd_ == nullptr && !destroying_) {
    if (parent_ != nullptr && !parent_->HandleAllocated()) parent_->Handle();  // makes this one too
    if (hwnd_ == nullptr) CreateWindowNow();
  }
  return hwnd_;
}

void Control::CreateWindowIfReady() {
  if (hwnd_ != nullptr) return;
  if (TopLevel() || (parent_ != nullptr && parent_->HandleAllocated())) CreateWindowNow();
}

HWND Control::ParentWindow() { return parent_ != nullptr ? parent_->hwnd_ : nullptr; }

void Control::CreateWindowNow() {
  const HWND parentWindow = ParentWindow();
  if (!TopLevel() && parentWindow == nullptr) return;  // a child needs its parent's window first
  const CreateSpec spec = GetCreateSpec();
  DWORD style = spec.style;
  if (!TopLevel()) style |= WS_CHILD | WS_CLIPSIBLINGS;
  if (visible_) style |= WS_VISIBLE;
  if (tabStop_) style |= WS_TABSTOP;
  if (!enabled_) style |= WS_DISABLED;
  const bool own = spec.className == nullptr;
  if (own) RegisterOwnWindowClass();
  const HWND window =
      CreateWindowExW(spec.exStyle, own ? kOwnWindowClass : spec.className, text_.c_str(), style, left_, top_, width_,
                      height_, parentWindow, nullptr, GetModuleHandleW(nullptr), own ? this : nullptr);
  if (window == nullptr) throw std::runtime_error("CreateWindowEx failed " + std::to_string(GetLastError()));
  if (!own) {
    Attach(window);
    // Subclassed by replacing the procedure: comctl32's subclass chain looks its data up in a
    // window property at every message, which under Wine is a round trip to the server.
    systemProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProcedures::System)));
  }
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(CurrentFont()), FALSE);
  PlaceInZOrder();
  AfterCreateWindow();
  CreateChildWindows();
  Realign();
}

// A new window goes to the bottom of its siblings; move it to its place in the tab order.
void Control::PlaceInZOrder() {
  if (parent_ == nullptr) return;
  HWND previous = HWND_TOP;
  for (Control* sibling : parent_->children_) {
    if (sibling == this) break;
    if (sibling->hwnd_ != nullptr) previous = sibling->hwnd_;
  }
  SetWindowPos(hwnd_, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Control::CreateChildWindows() {
  for (Control* child : std::vector<Control*>(children_)) {
    if (child->hwnd_ == nullptr) child->CreateWindowNow();
  }
}

void Control::Attach(HWND window) {
  hwnd_ = window;
  ControlsByWindow()[window] = this;
}

void Control::Detach() {
  if (hwnd_ != nullptr) ControlsByWindow().erase(hwnd_);
  hwnd_ = nullptr;
  systemProc_ = nullptr;
}

void Control::SaveStateRecursive() {
  if (hwnd_ == nullptr) return;
  for (Control* child : children_) child->SaveStateRecursive();
  BeforeDestroyWindow();
}

void Control::ReleaseWindow() {
  // A window whose creation failed halfway may be gone already; DestroyWindow then fails harmlessly.
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void Control::DestroyHandle() {
  if (hwnd_ == nullptr) return;
  SaveStateRecursive();
  DestroyWindow(hwnd_);
}

void Control::RecreateWindow() {
  if (hwnd_ == nullptr) return;
  DestroyHandle();
  CreateWindowNow();
}

// ---- slot

void Control::Dispatch(Message& message) noexcept {
  try {
    // A copy: a handler may replace the slot while it runs.
    WindowProcSlot slot = windowProc_;
    if (slot) {
      slot(message);
    } else {
      DefaultHandler(message);
    }
  } catch (...) {
    App().HandleException(std::current_exception());
  }
}

void Control::DefaultHandler(Message& message) {
  if (!HandleMessage(message)) message.result = CallDefault(message);
}

LRESULT Control::CallDefault(Message& message) {
  if (hwnd_ == nullptr) return 0;
  if (systemProc_ != nullptr) return CallWindowProcW(systemProc_, hwnd_, message.msg, message.wParam, message.lParam);
  return DefWindowProcW(hwnd_, message.msg, message.wParam, message.lParam);
}

LRESULT Control::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND window = Handle();
  return window != nullptr ? SendMessageW(window, msg, wParam, lParam) : 0;
}

int Control::AddDestroyObserver(DestroyObserver observer) {
  const int id = nextObserverId_++;
  destroyObservers_.emplace_back(id, std::move(observer));
  return id;
}

void Control::RemoveDestroyObserver(int id) {
  std::erase_if(destroyObservers_, [id](const auto& entry) { return entry.first == id; });
}

bool Control::HandleMessage(Message& message) {
  switch (message.msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: return ReflectToChild(message);
    case WM_WINDOWPOSCHANGED:
      SyncBoundsFromWindow();
      return false;  // the default procedure sends WM_SIZE and WM_MOVE from it
    case WM_SIZE: Realign(); return false;
    case WM_CONTEXTMENU:
      if (popupMenu_ == nullptr) return false;  // the default passes it to the parent
      if (popupMenu_->AutoPopup()) {
        POINT point{static_cast<short>(LOWORD(message.lParam)), static_cast<short>(HIWORD(message.lParam))};
        if (message.lParam == -1) {  // from the keyboard: at the control's top-left corner
          point = {0, 0};
          ClientToScreen(hwnd_, &point);
        }
        popupMenu_->Popup(hwnd_, point);
      }
      message.result = 0;
      return true;
    case WM_GETOBJECT: return AnswerGetObject(message);
    default: return false;
  }
}

bool Control::ReflectToChild(Message& message) {
  HWND source = nullptr;
  switch (message.msg) {
    case WM_COMMAND: source = reinterpret_cast<HWND>(message.lParam); break;
    case WM_NOTIFY: source = reinterpret_cast<NMHDR*>(message.lParam)->hwndFrom; break;
    case WM_DRAWITEM: source = reinterpret_cast<DRAWITEMSTRUCT*>(message.lParam)->hwndItem; break;
    default: source = reinterpret_cast<HWND>(message.lParam); break;
  }
  Control* child = FromHandle(source);
  if (child == nullptr || child == this) return false;
  switch (message.msg) {
    case WM_COMMAND:
      if (!child->HandleCommand(HIWORD(message.wParam))) return false;
      message.result = 0;
      return true;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (!child->HandleNotify(*reinterpret_cast<NMHDR*>(message.lParam), result)) return false;
      message.result = result;
      return true;
    }
    case WM_DRAWITEM:
      if (!child->HandleDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(message.lParam))) return false;
      message.result = TRUE;
      return true;
    default: {
      HBRUSH brush = child->HandleCtlColor(reinterpret_cast<HDC>(message.wParam));
      if (brush == nullptr) return false;
      message.result = reinterpret_cast<LRESULT>(brush);
      return true;
    }
  }
}

HBRUSH Control::HandleCtlColor(HDC dc) {
  SetTextColor(dc, fontColor_.Resolve());
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return GetSysColorBrush(COLOR_BTNFACE);
}

// ---- geometry

void Control::SetBounds(int left, int top, int width, int height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (hwnd_ != nullptr) {
    SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (align_ != Align::None && parent_ != nullptr) parent_->Realign();
}

void Control::SyncBoundsFromWindow() {
  if (hwnd_ == nullptr || IsIconic(hwnd_) || IsZoomed(hwnd_)) return;
  const RECT bounds = WindowBoundsInParent(hwnd_);
  left_ = bounds.left;
  top_ = bounds.top;
  width_ = bounds.right - bounds.left;
  height_ = bounds.bottom - bounds.top;
}

void Control::SetDesignBounds(int left, int top, int width, int height) {
  design_ = {left, top, width, height};
  const int dpi = Dpi();
  SetBounds(ScaleToDpi(left, dpi), ScaleToDpi(top, dpi), ScaleToDpi(width, dpi), ScaleToDpi(height, dpi));
}

int Control::Dpi() const {
  const Control* top = this;
  while (top->parent_ != nullptr) top = top->parent_;
  return top->dpi_ > 0 ? top->dpi_ : ScreenDpi();
}

int Control::Scaled(int designed) const { return ScaleToDpi(designed, Dpi()); }

int Control::Unscaled(int pixels) const { return ScaleToDesign(pixels, Dpi()); }

void Control::RescaleChildren(int oldDpi, int newDpi) {
  for (Control* child : children_) child->ScaleBoundsRecursive(oldDpi, newDpi);
  {
    // The old fonts live until every window has moved to the new ones.
    std::vector<FontHandle> oldFonts;
    RemakeFontsRecursive(newDpi, oldFonts);
    ApplyFontRecursive(true);
  }
  // Parents first: a parent's new size lays out its aligned children, which then keep that place.
  for (Control* child : std::vector<Control*>(children_)) child->PlaceWindowsRecursive(oldDpi, newDpi);
}

void Control::ScaleBoundsRecursive(int oldDpi, int newDpi) {
  // Rounding once from the design, not again at every move, keeps a length exact however often the
  // window changes monitors.
  const auto scale = [oldDpi, newDpi](int pixels, int designed) {
    return pixels == ScaleToDpi(designed, oldDpi) ? ScaleToDpi(designed, newDpi) : MulDiv(pixels, newDpi, oldDpi);
  };
  left_ = scale(left_, design_.left);
  top_ = scale(top_, design_.top);
  width_ = scale(width_, design_.width);
  height_ = scale(height_, design_.height);
  for (Control* child : children_) child->ScaleBoundsRecursive(oldDpi, newDpi);
}

void Control::RemakeFontsRecursive(int dpi, std::vector<FontHandle>& old) {
  if (font_ != nullptr) old.push_back(std::exchange(fontHandle_, CreateFontFrom(*font_, dpi)));
  for (Control* child : children_) child->RemakeFontsRecursive(dpi, old);
}

void Control::PlaceWindowsRecursive(int oldDpi, int newDpi) {
  if (hwnd_ != nullptr) SetWindowPos(hwnd_, nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
  DpiChanged(oldDpi, newDpi);
  for (Control* child : std::vector<Control*>(children_)) child->PlaceWindowsRecursive(oldDpi, newDpi);
}

SIZE Control::ClientSize() const {
  if (hwnd_ == nullptr) return {width_, height_};
  RECT client{};
  GetClientRect(hwnd_, &client);
  return {client.right, client.bottom};
}

void Control::SetAlign(Align align) {
  align_ = align;
  if (parent_ != nullptr) parent_->Realign();
}

RECT Control::AlignRect() {
  const SIZE size = ClientSize();
  return {0, 0, size.cx, size.cy};
}

void Control::Realign() {
  if (hwnd_ == nullptr || realigning_) return;
  realigning_ = true;
  RECT area = AlignRect();
  std::vector<Control*> tops, bottoms, clients;
  for (Control* child : children_) {
    if (!child->visible_) continue;
    switch (child->align_) {
      case Align::Top: tops.push_back(child); break;
      case Align::Bottom: bottoms.push_back(child); break;
      case Align::Client: clients.push_back(child); break;
      case Align::None: break;
    }
  }
  // Stacked in the order of their positions, as they were placed.
  std::stable_sort(tops.begin(), tops.end(), [](auto* a, auto* b) { return a->top_ < b->top_; });
  std::stable_sort(bottoms.begin(), bottoms.end(),
                   [](auto* a, auto* b) { return a->top_ + a->height_ > b->top_ + b->height_; });
  const int width = area.right - area.left;
  for (Control* child : tops) {
    child->SetBounds(area.left, area.top, width, child->height_);
    area.top += child->height_;
  }
  for (Control* child : bottoms) {
    child->SetBounds(area.left, area.bottom - child->height_, width, child->height_);
    area.bottom -= child->height_;
  }
  for (Control* child : clients) {
    child->SetBounds(area.left, area.top, width, std::max(0L, area.bottom - area.top));
  }
  realigning_ = false;
}

// ---- state

void Control::SetVisible(bool visible) {
  visible_ = visible;
  if (hwnd_ != nullptr) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
  if (parent_ != nullptr && align_ != Align::None) parent_->Realign();
}

void Control::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (hwnd_ != nullptr) EnableWindow(hwnd_, enabled);
}

void Control::SetText(TextArg text) {
  text_ = std::move(text).Value();
  if (hwnd_ != nullptr) SetWindowTextW(hwnd_, text_.c_str());
  TextChanged();
}

std::string Control::Text() const { return Utf8FromWide(text_); }

void Control::StoreTextFromWindow() {
  if (hwnd_ == nullptr) return;
  const int length = GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(hwnd_, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  text_ = std::move(text);
}

void Control::SetFont(const FontSpec& font) {
  font_ = std::make_unique<FontSpec>(font);
  // The old font lives until every window and measurer using it has moved to the new one.
  const FontHandle old = std::exchange(fontHandle_, CreateFontFrom(font, Dpi()));
  ApplyFontRecursive();
}

FontSpec Control::Font() const {
  for (const Control* control = this; control != nullptr; control = control->parent_) {
    if (control->font_ != nullptr) return *control->font_;
  }
  return {};
}

HFONT Control::CurrentFont() const {
  for (const Control* control = this; control != nullptr; control = control->parent_) {
    if (control->font_ != nullptr && control->fontHandle_) return control->fontHandle_.get();
  }
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void Control::ApplyFontRecursive(bool everyChild) {
  if (hwnd_ != nullptr) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(CurrentFont()), TRUE);
  FontChanged();
  for (Control* child : children_) {
    if (everyChild || child->font_ == nullptr) child->ApplyFontRecursive(everyChild);
  }
}

void Control::SetFontColor(Color color) {
  fontColor_ = color;
  Invalidate();
}

void Control::SetHint(TextArg hint) { hint_ = std::move(hint).Value(); }

std::string Control::Hint() const { return Utf8FromWide(hint_); }

void Control::SetTabOrder(int order) {
  tabOrder_ = order;
  tabOrderSet_ = true;
  if (parent_ == nullptr) return;
  parent_->SortChildren();
  parent_->ApplyZOrder();
}

void Control::SetTabStop(bool tabStop) {
  tabStop_ = tabStop;
  SetStyleBit(WS_TABSTOP, tabStop);
}

void Control::SetStyleBit(DWORD bit, bool on) {
  if (hwnd_ == nullptr) return;
  const LONG_PTR old = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  const LONG_PTR style = on ? (old | static_cast<LONG_PTR>(bit)) : (old & ~static_cast<LONG_PTR>(bit));
  if (style == old) return;  // each change costs the window a frame update
  SetWindowLongPtrW(hwnd_, GWL_STYLE, style);
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Control::SetFocus() {
  if (HWND window = Handle(); window != nullptr) ::SetFocus(window);
}

bool Control::Focused() const { return hwnd_ != nullptr && GetFocus() == hwnd_; }

void Control::Invalidate() {
  if (hwnd_ != nullptr) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::Repaint() {
  if (hwnd_ == nullptr) return;
  InvalidateRect(hwnd_, nullptr, TRUE);
  UpdateWindow(hwnd_);
}

void Control::SetPopupMenu(PopupMenu* menu) {
  if (popupMenu_ != nullptr) std::erase(popupMenu_->attached_, this);
  popupMenu_ = menu;
  if (menu != nullptr) menu->attached_.push_back(this);
}

// ---- accessibility

void Control::SetAccessibleName(TextArg name) {
  if (NameIsWindowText()) {
    SetText(std::move(name));
  } else {
    accessibleName_ = std::move(name).Value();
  }
}

std::string Control::AccessibleName() const { return Utf8FromWide(NameIsWindowText() ? text_ : accessibleName_); }

AccessibleTraits Control::Accessible() const {
  if (NameIsWindowText()) return {};
  return {.name = accessibleName_};
}

bool Control::AnswerGetObject(Message& message) {
  // The object's id is the low 32 bits; on 64-bit Windows the high ones may hold anything.
  if (static_cast<DWORD>(message.lParam) != static_cast<DWORD>(OBJID_CLIENT) || Accessible().Empty()) return false;
  // The object may outlive this control: it finds the control again by the window at each call.
  const HWND window = hwnd_;
  message.result = AccessibleObjectAnswer(window, message.wParam, CallDefault(message), [window] {
    const Control* control = FromHandle(window);
    return control != nullptr ? control->Accessible() : AccessibleTraits{};
  });
  return true;
}

}  // namespace ui
