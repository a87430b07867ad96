#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/accessible.h"
#include "ui/gdi.h"
#include "ui/text.h"
#include "ui/types.h"

namespace ui {

class Form;
class PopupMenu;

// The base of every windowed control and of Form. The object holds the control's whole state
// (caption, bounds, font, children, ...); the window is made from it on demand and can be
// destroyed and made again (RecreateWindow) without losing anything.
//
// Parent and ownership: a control is constructed with its parent. It is either a member of
// some object (the usual case for the controls of a form) or owned by its parent through
// Adopt(); owned children are destroyed with the parent, member children that outlive their
// parent are orphaned (their window goes, the object stays valid).
//
// Windows: a child's window is made as soon as its parent has one; a form makes its own
// (hidden) at construction, so in practice every control of a form has its window at once.
//
// Message-handler slot: every message of the window passes through WindowProc() before the
// default handling. The slot's default content calls DefaultHandler: the control's own
// virtual HandleMessage, then DefWindowProcW (own classes: forms, panels, sheets) or the
// original class procedure (system classes, subclassed right after creation). Own classes
// pass every message from WM_NCCREATE on through the slot; system classes from the moment
// they are subclassed. A handler that throws is stopped at the window procedure: the
// exception goes to Application::HandleException and never into Windows.
class Control {
 public:
  explicit Control(Control* parent);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  // ---- tree
  [[nodiscard]] Control* Parent() const { return parent_; }
  // The form at the top of the parent chain, or nullptr when the top is not a form.
  [[nodiscard]] Form* OwnerForm();
  [[nodiscard]] const std::vector<Control*>& Children() const { return children_; }
  // Hands ownership of a control (already constructed with this as its parent) to this one.
  template <typename T>
  T& Adopt(std::unique_ptr<T> child) {
    T& ref = *child;
    AdoptControl(std::unique_ptr<Control>(std::move(child)));
    return ref;
  }
  // Destroys an owned child now (a no-op for a child that is not owned).
  void DestroyChild(Control& child);

  // The control whose window this is, for windows made by the ui layer; nullptr otherwise.
  static Control* FromHandle(HWND window);

  // ---- window
  // The window, made on demand (with the parents' windows) when there is none yet.
  HWND Handle();
  [[nodiscard]] HWND HandleIfAllocated() const { return hwnd_; }
  [[nodiscard]] bool HandleAllocated() const { return hwnd_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // Destroys the window and its children's; the objects keep their state.
  void DestroyHandle();
  // Destroys the window and every child window and makes them anew from the objects' state.
  // The slot's content stays; it sees WM_DESTROY of the old window and, for own classes,
  // WM_CREATE of the new one.
  void RecreateWindow();

  // ---- message-handler slot
  // Read to save, assign to replace, assign the saved content back to restore.
  WindowProcSlot& WindowProc() { return windowProc_; }
  // What the slot holds by default: HandleMessage, then the default window procedure.
  void DefaultHandler(Message& message);
  // Sends a message to the window (made on demand) the ordinary way: through the slot.
  LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

  // Told once, when this object is destroyed (before its window goes); a hook uses it to
  // forget the control. Returns an id for RemoveDestroyObserver.
  using DestroyObserver = std::function<void(Control&)>;
  int AddDestroyObserver(DestroyObserver observer);
  void RemoveDestroyObserver(int id);

  // ---- geometry (pixels of the window's monitor; children: parent's client coordinates; forms:
  // the screen). The arguments a control is made from are designed at 96 DPI and scaled (ui/dpi.h).
  [[nodiscard]] int Left() const { return left_; }
  [[nodiscard]] int Top() const { return top_; }
  [[nodiscard]] int Width() const { return width_; }
  [[nodiscard]] int Height() const { return height_; }
  void SetLeft(int left) { SetBounds(left, top_, width_, height_); }
  void SetTop(int top) { SetBounds(left_, top, width_, height_); }
  void SetWidth(int width) { SetBounds(left_, top_, width, height_); }
  void SetHeight(int height) { SetBounds(left_, top_, width_, height); }
  void SetBounds(int left, int top, int width, int height);
  // The client area's size: from the window when there is one, else the stored size.
  [[nodiscard]] SIZE ClientSize() const;
  [[nodiscard]] int ClientWidth() const { return ClientSize().cx; }
  [[nodiscard]] int ClientHeight() const { return ClientSize().cy; }
  [[nodiscard]] Align GetAlign() const { return align_; }
  void SetAlign(Align align);
  // Lays the aligned children out again in the client area (done on every resize).
  void Realign();
  // The DPI of the form this control is on (of the screen for a control on no form), and a length
  // designed at 96 DPI in pixels at that DPI, and back.
  [[nodiscard]] int Dpi() const;
  [[nodiscard]] int Scaled(int designed) const;
  [[nodiscard]] int Unscaled(int pixels) const;
  // The width the control was made with, as designed at 96 DPI.
  [[nodiscard]] int DesignWidth() const { return design_.width; }

  // ---- state
  [[nodiscard]] bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  [[nodiscard]] bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // Caption and Text are the same window text.
  void SetText(TextArg text);
  [[nodiscard]] std::string Text() const;  // UTF-8
  [[nodiscard]] const std::wstring& WideText() const { return text_; }
  void SetCaption(TextArg caption) { SetText(std::move(caption)); }
  [[nodiscard]] std::string Caption() const { return Text(); }

  // Own font, or (with none set) the parent's, down to the system's GUI font.
  void SetFont(const FontSpec& font);
  [[nodiscard]] bool HasOwnFont() const { return font_ != nullptr; }
  [[nodiscard]] FontSpec Font() const;  // the effective font's spec (empty face: system font)
  [[nodiscard]] HFONT CurrentFont() const;

  [[nodiscard]] Color FontColor() const { return fontColor_; }
  void SetFontColor(Color color);

  // The tooltip text (UTF-8 data); stored only, tooltips are not shown by the ui layer.
  void SetHint(TextArg hint);
  [[nodiscard]] std::string Hint() const;
  [[nodiscard]] bool ShowHint() const { return showHint_; }
  void SetShowHint(bool show) { showHint_ = show; }

  [[nodiscard]] std::intptr_t Tag() const { return tag_; }
  void SetTag(std::intptr_t tag) { tag_ = tag; }

  // The key by which siblings are ordered for Tab navigation (and z-order). A new control gets
  // the number of siblings made before it; among equal keys one set with SetTabOrder comes
  // first, then the order of construction. So a form can give its tab stops the numbers of
  // its design, in any order of construction, and the controls between keep their places.
  [[nodiscard]] int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int order);
  [[nodiscard]] bool TabStop() const { return tabStop_; }
  void SetTabStop(bool tabStop);

  void SetFocus();
  [[nodiscard]] bool Focused() const;

  void Invalidate();
  // Paints at once: invalidate, then UpdateWindow.
  void Repaint();

  // The context menu: popped up by a right click (when its AutoPopup is on); its shortcuts
  // work while the keyboard focus is in this control or a child of it. Not owned.
  void SetPopupMenu(PopupMenu* menu);
  [[nodiscard]] PopupMenu* GetPopupMenu() const { return popupMenu_; }

  // ---- accessibility
  // The name that screen readers and UI Automation give a control whose window text is no
  // caption (an edit's or a text box's content, a frame's nothing). A control that never shows
  // its window text (a list view, a tab control) keeps the name there, where the system's own
  // accessible object, richer under UI Automation than a wrapped one, finds it; the others
  // answer WM_GETOBJECT with it. An edit beside a label needs none: the system names it after
  // the label just before it in the tab order.
  void SetAccessibleName(TextArg name);
  [[nodiscard]] std::string AccessibleName() const;

 protected:
  // What CreateWindowExW is called with. className null means the ui layer's own window class
  // (forms, panels, sheets: windows painted and handled by their objects).
  struct CreateSpec {
    const wchar_t* className = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
  };
  virtual CreateSpec GetCreateSpec() = 0;
  // After the window exists (subclassed, font set, caption and bounds applied): push the rest
  // of the stored state (check state, columns, rows, tabs, ...) into it.
  virtual void AfterCreateWindow() {}
  // Before the window goes: pull into the object what the user may have changed in it.
  virtual void BeforeDestroyWindow() {}
  // The control's own message handling. Return true when the message is answered (result set);
  // false lets the default window procedure have it.
  virtual bool HandleMessage(Message& message);
  // Notifications that the parent window received from this control, handed back to it.
  virtual bool HandleCommand(WORD /*notifyCode*/) { return false; }
  virtual bool HandleNotify(NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
  virtual bool HandleDrawItem(DRAWITEMSTRUCT& /*item*/) { return false; }
  // WM_CTLCOLOR* of this control; default: button-face background, font colour text.
  virtual HBRUSH HandleCtlColor(HDC dc);
  // The rectangle inside which aligned children are laid out (client area less borders).
  virtual RECT AlignRect();
  // The parent of the window: the parent control's window (tab sheets override nothing here).
  virtual HWND ParentWindow();
  // Called when the window's font changes (own or inherited).
  virtual void FontChanged() {}
  // Called when the form moved to a monitor of another DPI, after the bounds and fonts of the
  // control were scaled: scales whatever else the control measures in pixels.
  virtual void DpiChanged(int /*oldDpi*/, int /*newDpi*/) {}
  // Called after SetText stored a new text.
  virtual void TextChanged() {}
  // What the control's accessible object says beyond the system's object for its window; empty
  // traits leave the system's object alone.
  virtual AccessibleTraits Accessible() const;
  // True for a control that never shows its window text; its accessible name is that text.
  virtual bool NameIsWindowText() const { return false; }

  // Makes the window now when it can have one (a form; a child whose parent has a window).
  // Every concrete control calls this at the end of its constructor.
  void CreateWindowIfReady();
  // Destroys the window without saving state; for destructors (while the object is whole).
  void ReleaseWindow();
  // Takes the window's text into the object after the user changed it.
  void StoreTextFromWindow();
  virtual bool TopLevel() const { return false; }
  // The default procedure of this window: DefWindowProcW or the original class procedure.
  LRESULT CallDefault(Message& message);
  [[nodiscard]] HWND hwnd() const { return hwnd_; }
  // The window's style bits, for changes that need them at run time.
  void SetStyleBit(DWORD bit, bool on);
  // Stores bounds from the window after the user (or Windows) moved or sized it.
  void SyncBoundsFromWindow();
  // SetBounds with lengths designed at 96 DPI; for the constructors, from their arguments.
  void SetDesignBounds(int left, int top, int width, int height);
  // Scales the bounds and fonts of the children (and their children) from one DPI to another and
  // re-creates this control's font and theirs at newDpi; for a form that changed monitors. A length
  // still as designed becomes the designed one at newDpi; one changed since is scaled by the ratio.
  void RescaleChildren(int oldDpi, int newDpi);

 private:
  friend class Form;
  friend struct WindowProcedures;

  void AdoptControl(std::unique_ptr<Control> child);
  void SortChildren();
  void PlaceInZOrder();
  void ApplyZOrder();
  void AddChild(Control* child);
  void RemoveChild(Control* child);
  void CreateWindowNow();
  void CreateChildWindows();
  void SaveStateRecursive();
  // This control's font to its window, and to its children's that inherit it (or to every child's).
  void ApplyFontRecursive(bool everyChild = false);
  void ScaleBoundsRecursive(int oldDpi, int newDpi);
  void RemakeFontsRecursive(int dpi, std::vector<FontHandle>& old);
  void PlaceWindowsRecursive(int oldDpi, int newDpi);
  void Dispatch(Message& message) noexcept;
  void Attach(HWND window);
  void Detach();
  bool ReflectToChild(Message& message);
  bool AnswerGetObject(Message& message);

  Control* parent_;
  std::vector<Control*> children_;  // in tab order
  std::vector<std::unique_ptr<Control>> owned_;
  HWND hwnd_ = nullptr;
  WNDPROC systemProc_ = nullptr;  // a system-class window's own procedure, once subclassed
  bool destroying_ = false;
  WindowProcSlot windowProc_;
  std::vector<std::pair<int, DestroyObserver>> destroyObservers_;
  int nextObserverId_ = 1;

  int tabOrder_ = 0;
  bool tabOrderSet_ = false;
  unsigned sequence_ = 0;  // order of construction among the siblings
  unsigned nextChildSequence_ = 0;
  bool realigning_ = false;
  int dpi_ = 0;  // a form's; 0 elsewhere
  struct {
    int left = 0, top = 0, width = 0, height = 0;
  } design_;  // at 96 DPI, from SetDesignBounds
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  Align align_ = Align::None;
  bool visible_ = true;
  bool enabled_ = true;
  bool tabStop_ = false;
  bool showHint_ = false;
  std::wstring text_;
  std::wstring hint_;
  std::wstring accessibleName_;
  std::unique_ptr<FontSpec> font_;  // designed at 96 DPI
  FontHandle fontHandle_;           // at Dpi()
  Color fontColor_;
  std::intptr_t tag_ = 0;
  PopupMenu* popupMenu_ = nullptr;
};

}  // namespace ui
