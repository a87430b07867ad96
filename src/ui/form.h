#pragma once

#include <windows.h>

#include <functional>

#include "ui/control.h"

namespace ui {

enum class BorderStyle : std::uint8_t {
  FixedSingle,   // caption, system menu, minimise box; no resizing, no maximise box
  Sizeable,      // an ordinary resizable window
  SizeableTool,  // resizable tool window (small caption, WS_EX_TOOLWINDOW)
};

struct FormArgs {
  TextArg caption{};
  // The position in screen pixels; the sizes designed at 96 DPI, scaled to the monitor's.
  // clientWidth/clientHeight, when set, size the client area instead (with the frame of that DPI).
  int left = 0, top = 0, width = 320, height = 240;
  int clientWidth = 0, clientHeight = 0;
  BorderStyle borderStyle = BorderStyle::Sizeable;
  int minWidth = 0, minHeight = 0;  // WM_GETMINMAXINFO, window size; 0: none
  FontSpec font{};                  // children inherit it; an empty face keeps the system font
  // The window (and its children's) is made when first needed (shown, or Handle() asked for)
  // instead of at construction: a window a run never shows then costs nothing at start-up.
  bool windowOnDemand = false;
};

// A top-level window with the system button-face background. The window is made, hidden, at
// construction (unless windowOnDemand), so the form knows its real size before it is first shown.
//
// Closing (close box, Close()): OnClose runs first, then the form hides. Closing the
// application's main form also ends the message loop (Application::Terminate).
//
// Display scale: the form takes the DPI of the monitor its window is on. Moved to a monitor of
// another DPI (WM_DPICHANGED), it takes the rectangle Windows suggests, scales every child's
// bounds and every font, and then runs OnDpiChanged for layouts of its own (text measured anew).
class Form : public Control {
 public:
  explicit Form(const FormArgs& args = {});
  ~Form() override;

  // Runs OnCreate once; later calls do nothing. Application::CreateForm calls it right after
  // the form is built; a form built otherwise calls it itself (the handler is a member set in
  // the derived constructor, so the base constructor cannot run it).
  void DoCreate();
  [[nodiscard]] bool Created() const { return created_; }

  // Show/Hide/SetVisible (from Control): hidden → shown runs OnShow before the window appears;
  // Show on a shown form brings it to the top of the others.
  void SetVisible(bool visible) override;
  void Close();
  // SetForegroundWindow.
  void BringToFront();

  [[nodiscard]] BorderStyle GetBorderStyle() const { return borderStyle_; }
  void SetBorderStyle(BorderStyle style);
  // Pixels at the form's DPI.
  void SetMinSize(int width, int height);
  void SetClientSize(int width, int height);

  // HWND_TOPMOST / HWND_NOTOPMOST, hidden or shown; kept across RecreateWindow.
  void SetStayOnTop(bool onTop);
  [[nodiscard]] bool StayOnTop() const { return stayOnTop_; }

  std::function<void()> OnCreate;
  std::function<void()> OnShow;
  std::function<void()> OnClose;
  std::function<void()> OnDpiChanged;

 protected:
  CreateSpec GetCreateSpec() override;
  void AfterCreateWindow() override;
  void BeforeDestroyWindow() override;
  bool HandleMessage(Message& message) override;
  HWND ParentWindow() override { return nullptr; }
  bool TopLevel() const override { return true; }

 private:
  // Everything to newDpi; the window to bounds, or (none given) to its size scaled where it is.
  void ChangeDpi(int newDpi, const RECT* bounds);

  HWND lastFocus_ = nullptr;
  BorderStyle borderStyle_;
  int minWidth_, minHeight_;
  bool stayOnTop_ = false;
  bool created_ = false;
};

// The primary screen.
[[nodiscard]] int ScreenWidth();
[[nodiscard]] int ScreenHeight();

}  // namespace ui
