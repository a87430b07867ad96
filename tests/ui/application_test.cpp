#include "ui/application.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <atomic>
#include <thread>

#include "ui/edit.h"
#include "ui/list_view.h"
#include "ui/panel.h"
#include "ui/popup_menu.h"
#include "ui/tab_control.h"
#include "ui_test_support.h"

namespace {

constexpr UINT kPosted = WM_APP + 5;

// Counts the posted probe messages reaching a panel.
struct ProbeCounter {
  explicit ProbeCounter(ui::Control& control) : control_(control), saved_(control.WindowProc()) {
    control.WindowProc() = [this](ui::Message& message) {
      if (message.msg == kPosted) {
        ++count;
        if (onProbe) onProbe();
      }
      saved_(message);
    };
  }
  ~ProbeCounter() { control_.WindowProc() = saved_; }
  ProbeCounter(const ProbeCounter&) = delete;
  ProbeCounter& operator=(const ProbeCounter&) = delete;

  int count = 0;
  std::function<void()> onProbe;

 private:
  ui::Control& control_;
  ui::WindowProcSlot saved_;
};

class ApplicationLoop : public testing::Test {
 protected:
  void TearDown() override {
    ui::App().SetMainForm(nullptr);
    ui::App().SetShowMainForm(true);
    ui::App().ResetTerminated();
    ui_test::Pump(2);
  }
};

TEST_F(ApplicationLoop, TerminateBeforeRunMakesRunReturnAtOnce) {
  ui::Form form;
  ui::Panel panel({.parent = &form});
  ProbeCounter probes(panel);
  ui::App().SetMainForm(&form);
  ui::App().Terminate();
  PostMessageW(panel.Handle(), kPosted, 0, 0);
  ui::App().Run();
  EXPECT_TRUE(ui::App().Terminated());
  EXPECT_EQ(probes.count, 0);  // the loop never ran
  EXPECT_FALSE(form.Visible());
}

TEST_F(ApplicationLoop, ProcessMessagesRunsWhatIsQueued) {
  ui::Form form;
  ui::Panel panel({.parent = &form});
  ProbeCounter probes(panel);
  for (int i = 0; i < 3; ++i) PostMessageW(panel.Handle(), kPosted, 0, 0);
  ui::App().ProcessMessages();
  EXPECT_EQ(probes.count, 3);
}

// A message another thread sends is answered; a posted one (a cancel, a key) stays queued.
TEST_F(ApplicationLoop, AnswerSentMessagesLeavesTheQueue) {
  ui::Form form;
  ui::Panel panel({.parent = &form});
  ProbeCounter probes(panel);
  PostMessageW(panel.Handle(), kPosted, 0, 0);
  const HWND target = panel.Handle();
  std::atomic<bool> answered{false};
  std::thread sender([&] {
    DWORD_PTR ignored = 0;
    answered = SendMessageTimeoutW(target, kPosted, 0, 0, SMTO_NORMAL, 10000, &ignored) != 0;
  });
  // The sent message reaches the thread's queue at some moment; answer until it has come.
  for (int round = 0; round < 1000 && probes.count == 0; ++round) {
    ui::App().AnswerSentMessages();
    Sleep(1);
  }
  sender.join();
  EXPECT_TRUE(answered);
  EXPECT_EQ(probes.count, 1);
  ui::App().ProcessMessages();
  EXPECT_EQ(probes.count, 2);  // the posted one, left for the loop
}

TEST_F(ApplicationLoop, ClosingTheMainFormEndsRunAndShowMainFormShowsIt) {
  ui::Form form;
  bool closed = false;
  bool shownDuringRun = false;
  form.OnClose = [&] { closed = true; };
  ui::Panel panel({.parent = &form});
  ProbeCounter probes(panel);
  probes.onProbe = [&] {
    shownDuringRun = IsWindowVisible(form.Handle()) != FALSE;
    PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
  };
  ui::App().SetMainForm(&form);
  PostMessageW(panel.Handle(), kPosted, 0, 0);
  ui::App().Run();
  EXPECT_TRUE(shownDuringRun);
  EXPECT_TRUE(closed);
  EXPECT_FALSE(form.Visible());
  EXPECT_TRUE(ui::App().Terminated());
}

TEST_F(ApplicationLoop, ShowMainFormOffKeepsItHidden) {
  ui::Form form;
  ui::Panel panel({.parent = &form});
  ProbeCounter probes(panel);
  bool visible = true;
  probes.onProbe = [&] {
    visible = IsWindowVisible(form.Handle()) != FALSE;
    ui::App().Terminate();
  };
  ui::App().SetMainForm(&form);
  ui::App().SetShowMainForm(false);
  PostMessageW(panel.Handle(), kPosted, 0, 0);
  ui::App().Run();
  EXPECT_FALSE(visible);
}

TEST_F(ApplicationLoop, TerminateInsideANestedPumpEndsTheLoopOnceTheHandlerReturns) {
  ui::Form form;
  ui::Panel panel({.parent = &form});
  ProbeCounter probes(panel);
  bool workFinished = false;
  probes.onProbe = [&] {
    if (probes.count != 1) return;
    // A long run: it is asked to terminate while it pumps, and carries on to its end.
    PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
    PostMessageW(panel.Handle(), kPosted, 0, 0);
    ui::App().ProcessMessages();
    ui::App().ProcessMessages();
    workFinished = true;
  };
  ui::App().SetMainForm(&form);
  ui::App().SetShowMainForm(false);
  PostMessageW(panel.Handle(), kPosted, 0, 0);
  ui::App().Run();
  EXPECT_TRUE(workFinished);
  EXPECT_EQ(probes.count, 2);
  EXPECT_TRUE(ui::App().Terminated());
}

// A job window: a tab control carrying the command menu, a list inside its sheet, and an
// edit box outside it.
struct JobWindow {
  ui::Form form{{.caption = u8"Ruvo - Calc", .left = 50, .top = 50, .width = 408, .height = 327}};
  ui::TabControl tabs{{.parent = &form, .left = 0, .top = 0, .width = 390, .height = 250}};
  ui::TabSheet& sheet = tabs.AddSheet(u8"/");
  ui::ListView list{{.parent = &sheet, .align = ui::Align::Client, .columns = {{.caption = u8"Name"}}}};
  ui::Edit outside{{.parent = &form, .text = u8"x", .left = 0, .top = 260, .width = 100}};
  ui::PopupMenu menu;
  std::vector<std::string> fired;
  int listKeyDowns = 0;

  JobWindow() {
    auto add = [this](const char* name, ui::Shortcut shortcut) {
      menu.Add(
          {.caption = ui::TextArg(name), .shortcut = shortcut, .onClick = [this, name] { fired.push_back(name); }});
    };
    add("view", {.key = 'V'});
    add("copy", {.key = 'C'});
    menu.AddSeparator();
    add("prevError", {.key = VK_UP, .ctrl = true});
    add("nextError", {.key = VK_DOWN, .ctrl = true});
    add("prevTab", {.key = VK_TAB, .shift = true});
    add("nextTab", {.key = VK_TAB});
    add("cancelClose", {.key = VK_ESCAPE});
    tabs.SetPopupMenu(&menu);
    list.SetItemCount(10);
    list.OnData = [](int, ui::ListItemData& item) { item.caption.push_back('r'); };
    const ui::WindowProcSlot saved = list.WindowProc();
    list.WindowProc() = [this, saved](ui::Message& message) {
      const bool modifier = message.wParam == VK_SHIFT || message.wParam == VK_CONTROL;
      if (message.msg == WM_KEYDOWN && !modifier) ++listKeyDowns;
      saved(message);
    };
  }
};

struct KeyCase {
  WORD key;
  bool shift, ctrl;
  const char* expected;
};

TEST(Shortcuts, RealKeystrokesInTheListReachTheMenuOfTheTabControl) {
  JobWindow window;
  ui_test::ShowInFront(window.form);
  window.list.SetFocus();
  ASSERT_TRUE(window.list.Focused());
  const KeyCase cases[] = {
      {'V', false, false, "view"},
      {'C', false, false, "copy"},
      {VK_UP, false, true, "prevError"},
      {VK_DOWN, false, true, "nextError"},
      {VK_TAB, true, false, "prevTab"},
      {VK_TAB, false, false, "nextTab"},
      {VK_ESCAPE, false, false, "cancelClose"},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.expected);
    window.fired.clear();
    ui_test::PressKey(c.key, c.shift, c.ctrl);
    ASSERT_TRUE(ui_test::PumpUntil([&] { return !window.fired.empty(); })) << "key not delivered";
    ui_test::Pump(3);
    ASSERT_EQ(window.fired.size(), 1u);
    EXPECT_EQ(window.fired[0], c.expected);
    // Swallowed: neither the list nor dialog navigation saw it; the focus stays.
    EXPECT_TRUE(window.list.Focused());
  }
  EXPECT_EQ(window.listKeyDowns, 0);
}

TEST(Shortcuts, OtherKeysAndFocusOutsideTheControlDoNotFire) {
  JobWindow window;
  ui_test::ShowInFront(window.form);
  window.list.SetFocus();
  ui_test::PressKey(VK_DOWN);  // plain Down is the list's, not Ctrl+Down
  ASSERT_TRUE(ui_test::PumpUntil([&] { return window.listKeyDowns > 0; }));
  EXPECT_TRUE(window.fired.empty());

  window.outside.SetFocus();
  ASSERT_TRUE(window.outside.Focused());
  SendMessageW(window.outside.Handle(), EM_SETSEL, 1, 1);  // caret after the x
  ui_test::PressKey('V');
  ASSERT_TRUE(ui_test::PumpUntil([&] { return window.outside.Text() != "x"; }));
  EXPECT_TRUE(window.fired.empty());
  EXPECT_EQ(window.outside.Text(), "xv");
}

TEST(Shortcuts, ARebindingTakesEffectAtTheNextKeystroke) {
  JobWindow window;
  ui::MenuItem& escape = window.menu.Item(window.menu.Count() - 1);
  escape.OnClick = [&] {
    window.fired.push_back("cancel");
    escape.OnClick = [&] { window.fired.push_back("close"); };  // rebinds itself while running
  };
  ui_test::ShowInFront(window.form);
  window.list.SetFocus();
  ui_test::PressKey(VK_ESCAPE);
  ASSERT_TRUE(ui_test::PumpUntil([&] { return window.fired.size() == 1; }));
  ui_test::PressKey(VK_ESCAPE);
  ASSERT_TRUE(ui_test::PumpUntil([&] { return window.fired.size() == 2; }));
  EXPECT_EQ(window.fired, (std::vector<std::string>{"cancel", "close"}));
}

TEST(Shortcuts, AnExceptionInAMenuHandlerIsReported) {
  ui_test::MessageBoxRecorder boxes;
  JobWindow window;
  window.menu.Item(0).OnClick = [] { throw std::runtime_error("view failed"); };
  ui_test::ShowInFront(window.form);
  window.list.SetFocus();
  ui_test::PressKey('V');
  ASSERT_TRUE(ui_test::PumpUntil([&] { return !boxes.requests.empty(); }));
  EXPECT_EQ(boxes.requests[0].text, L"view failed");
}

TEST(Shortcuts, NamesAndMatching) {
  EXPECT_EQ((ui::Shortcut{.key = VK_TAB, .shift = true}.Name()), L"Shift+Tab");
  EXPECT_EQ((ui::Shortcut{.key = VK_UP, .ctrl = true}.Name()), L"Ctrl+Up");
  EXPECT_EQ((ui::Shortcut{.key = VK_ESCAPE}.Name()), L"Esc");
  EXPECT_EQ((ui::Shortcut{.key = 'S'}.Name()), L"S");
  ui::PopupMenu menu;
  ui::MenuItem& item = menu.Add({.caption = u8"保存(&S)", .shortcut = {.key = 'S'}, .onClick = [] {}});
  EXPECT_EQ(menu.FindShortcut({.key = 'S'}), &item);
  EXPECT_EQ(menu.FindShortcut({.key = 'S', .shift = true}), nullptr);
  item.SetEnabled(false);
  EXPECT_EQ(menu.FindShortcut({.key = 'S'}), nullptr);
}

}  // namespace

namespace {

// Whether a right click on the control opens a menu: a probe posted beforehand is only
// dispatched during the right click when a menu's modal loop runs (the probe then closes it).
bool RightClickOpensAMenu(ui::Control& target, ui::Panel& probeWindow) {
  bool insideRightClick = false;
  bool probedInside = false;
  ProbeCounter probes(probeWindow);
  probes.onProbe = [&] {
    probedInside = insideRightClick;
    EndMenu();
  };
  PostMessageW(probeWindow.Handle(), kPosted, 0, 0);
  insideRightClick = true;
  POINT screen{5, 5};
  ClientToScreen(target.Handle(), &screen);
  SendMessageW(target.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target.Handle()),
               MAKELPARAM(screen.x, screen.y));
  insideRightClick = false;
  ui_test::Pump(2);
  return probedInside;
}

TEST(PopupMenu, AutoPopupOffShowsNothingOnARightClick) {
  ui::Form form({.left = 10, .top = 10, .width = 200, .height = 200});
  ui::Panel panel({.parent = &form});
  ui::PopupMenu menu;
  menu.Add({.caption = u8"閉じる(&C)", .shortcut = {.key = VK_ESCAPE}, .onClick = [] {}});
  form.SetPopupMenu(&menu);
  ui_test::ShowInFront(form);
  menu.SetAutoPopup(false);
  EXPECT_FALSE(RightClickOpensAMenu(panel, panel));  // the panel passes it up to the form
  menu.SetAutoPopup(true);
  EXPECT_TRUE(RightClickOpensAMenu(panel, panel));
}

TEST(PopupMenu, AMenuGoneBeforeItsControlIsForgotten) {
  ui::Form form;
  auto menu = std::make_unique<ui::PopupMenu>();
  form.SetPopupMenu(menu.get());
  menu.reset();
  EXPECT_EQ(form.GetPopupMenu(), nullptr);
}

}  // namespace
