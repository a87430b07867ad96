#include "ui/form.h"

#include <gtest/gtest.h>

#include "ui/application.h"
#include "ui/panel.h"
#include "ui_test_support.h"

namespace {

TEST(Form, CloseRunsOnCloseAndHidesWithoutEndingTheLoop) {
  ui::App().ResetTerminated();
  ui::Form form({.caption = u8"Ruvo - Compare"});
  int closes = 0;
  bool visibleInHandler = false;
  form.OnClose = [&] {
    ++closes;
    visibleInHandler = form.Visible();
  };
  form.Show();
  SendMessageW(form.Handle(), WM_CLOSE, 0, 0);  // the close box
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(visibleInHandler);
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  EXPECT_TRUE(IsWindow(form.Handle()));  // hidden, not destroyed
  EXPECT_FALSE(ui::App().Terminated());  // not the main form
}

TEST(Form, ClosingTheMainFormAsksTheApplicationToTerminate) {
  ui::App().ResetTerminated();
  ui::Form form;
  ui::App().SetMainForm(&form);
  form.Close();
  EXPECT_TRUE(ui::App().Terminated());
  ui::App().SetMainForm(nullptr);
  ui::App().ResetTerminated();
}

TEST(Form, OnShowRunsOnlyWhenAHiddenFormIsShown) {
  ui::Form form;
  int shows = 0;
  form.OnShow = [&] { ++shows; };
  form.Show();
  form.Show();  // already shown: comes to the front only
  EXPECT_EQ(shows, 1);
  form.Hide();
  form.Show();
  EXPECT_EQ(shows, 2);
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  form.Hide();
}

struct CentredForm : ui::Form {
  CentredForm() : ui::Form({.width = 408, .height = 327, .borderStyle = ui::BorderStyle::SizeableTool}) {
    OnCreate = [this] {
      ++creates;
      SetBounds(ui::ScreenWidth() / 2 - Width() / 2, ui::ScreenHeight() / 2 - Height() / 2, Width(), Height());
    };
  }
  int creates = 0;
};

TEST(Form, CreateFormRunsOnCreateOnceWithTheWindowSizeKnown) {
  ui::Form* previousMain = ui::App().MainForm();
  CentredForm& form = ui::App().CreateForm<CentredForm>();
  EXPECT_EQ(form.creates, 1);
  form.DoCreate();
  EXPECT_EQ(form.creates, 1);
  RECT bounds{};
  GetWindowRect(form.Handle(), &bounds);
  EXPECT_EQ(bounds.left, ui::ScreenWidth() / 2 - 408 / 2);
  EXPECT_EQ(bounds.top, ui::ScreenHeight() / 2 - 327 / 2);
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  if (previousMain == nullptr) {
    EXPECT_EQ(ui::App().MainForm(), &form);
  }
  ui::App().DestroyForms();
  EXPECT_EQ(ui::App().MainForm(), nullptr);
}

TEST(Form, BorderStylesGiveTheirWindowStyles) {
  struct Case {
    ui::BorderStyle style;
    LONG_PTR present, absent, exPresent;
  };
  const Case cases[] = {
      {ui::BorderStyle::FixedSingle, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_THICKFRAME | WS_MAXIMIZEBOX, 0},
      {ui::BorderStyle::SizeableTool, WS_CAPTION | WS_THICKFRAME, WS_MAXIMIZEBOX, WS_EX_TOOLWINDOW},
      {ui::BorderStyle::Sizeable, WS_THICKFRAME | WS_MAXIMIZEBOX, 0, 0},
  };
  for (const Case& c : cases) {
    ui::Form form({.borderStyle = c.style});
    const LONG_PTR style = GetWindowLongPtrW(form.Handle(), GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE);
    EXPECT_EQ(style & c.present, c.present);
    EXPECT_EQ(style & c.absent, 0);
    EXPECT_EQ(exStyle & c.exPresent, c.exPresent);
  }
}

TEST(Form, ClientSizeIsExact) {
  ui::Form form({.caption = u8"Ruvo 0.14h",
                 .clientWidth = 152,
                 .clientHeight = 272,
                 .borderStyle = ui::BorderStyle::FixedSingle});
  RECT client{};
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, 152);
  EXPECT_EQ(client.bottom, 272);
  form.SetClientSize(200, 100);
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 100);
}

TEST(Form, MinimumSizeIsAnsweredToTheSystem) {
  ui::Form form({.borderStyle = ui::BorderStyle::SizeableTool, .minWidth = 160, .minHeight = 160});
  MINMAXINFO info{};
  SendMessageW(form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 160);
  EXPECT_EQ(info.ptMinTrackSize.y, 160);
}

TEST(Form, StayOnTopWorksHiddenAndSurvivesRecreation) {
  ui::Form form;
  const auto topmost = [&] { return (GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  EXPECT_FALSE(topmost());
  form.SetStayOnTop(true);
  EXPECT_TRUE(topmost());
  form.RecreateWindow();
  EXPECT_TRUE(topmost());
  form.SetStayOnTop(false);
  EXPECT_FALSE(topmost());
}

TEST(Form, BoundsFollowTheWindowWhenItIsMoved) {
  ui::Form form({.left = 10, .top = 20, .width = 300, .height = 200});
  SetWindowPos(form.Handle(), nullptr, 33, 44, 310, 210, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(form.Left(), 33);
  EXPECT_EQ(form.Top(), 44);
  EXPECT_EQ(form.Width(), 310);
  EXPECT_EQ(form.Height(), 210);
}

}  // namespace

namespace {

TEST(Form, AShownFormIsShownAgainAfterRecreation) {
  ui::Form form({.caption = u8"Ruvo 0.14h"});
  form.Show();
  form.RecreateWindow();
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  form.Hide();
  form.RecreateWindow();
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

}  // namespace

namespace {

// A window made on demand costs nothing until it is needed, and then is what an eager one is:
// what was set on the objects before (bounds, caption, stay-on-top, children) is in the windows.
TEST(Form, AWindowOnDemandIsMadeWhenFirstShownWithEverythingSetBefore) {
  ui::Form form({.caption = u8"Ruvo - Compare", .width = 300, .height = 200, .windowOnDemand = true});
  ui::Panel panel({.parent = &form, .caption = u8"比較", .align = ui::Align::Client});
  form.SetBounds(40, 50, 410, 330);
  form.SetStayOnTop(true);
  panel.SetText(u8"作成");
  EXPECT_FALSE(form.HandleAllocated());
  EXPECT_FALSE(panel.HandleAllocated());

  form.Show();
  ASSERT_TRUE(form.HandleAllocated());
  ASSERT_TRUE(panel.HandleAllocated());
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  RECT bounds{};
  GetWindowRect(form.Handle(), &bounds);
  EXPECT_EQ(bounds.left, 40);
  EXPECT_EQ(bounds.top, 50);
  EXPECT_EQ(bounds.right - bounds.left, 410);
  EXPECT_EQ(bounds.bottom - bounds.top, 330);
  EXPECT_NE(GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  EXPECT_EQ(GetParent(panel.Handle()), form.Handle());
  wchar_t text[16] = {};
  GetWindowTextW(panel.Handle(), text, 16);
  EXPECT_STREQ(text, L"作成");
  EXPECT_EQ(panel.Width(), form.ClientWidth()) << "aligned once the client area is known";
  form.Hide();
}

// Asking for the handle makes it too, hidden: code that needs the window never finds none.
TEST(Form, AWindowOnDemandIsMadeHiddenWhenItsHandleIsAskedFor) {
  ui::Form form({.windowOnDemand = true});
  const HWND window = form.Handle();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_FALSE(form.Visible());
}

}  // namespace
