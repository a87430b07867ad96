#include "ui/button.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <vector>

#include "support/accessibility.h"
#include "ui/gdi.h"
#include "ui/panel.h"
#include "ui_test_support.h"

namespace {

// One of the hash buttons: 44 by 22 in a row, a group that is one tab stop.
ui::ButtonArgs HashButton(ui::Control* parent, const char8_t* caption, int left, bool down = false) {
  return {.parent = parent,
          .caption = caption,
          .left = left,
          .top = 96,
          .width = 44,
          .height = 22,
          .groupIndex = 1,
          .down = down,
          .tabStop = true};
}

// The three hash buttons of the main window: one exclusive group on a panel.
struct HashButtons {
  ui::Form form{{.caption = u8"buttons", .left = 100, .top = 100, .clientWidth = 152, .clientHeight = 130}};
  ui::Panel panel{{.parent = &form, .caption = u8"作成", .width = 144, .height = 120}};
  ui::Button crc16{HashButton(&panel, u8"CRC16", 4)};
  ui::Button crc32{HashButton(&panel, u8"CRC32", 50, true)};
  ui::Button md5{HashButton(&panel, u8"MD5", 96)};
  int clicks = 0;

  HashButtons() {
    for (ui::Button* button : {&crc16, &crc32, &md5}) button->OnClick = [this] { ++clicks; };
  }
  [[nodiscard]] std::string Pressed() const {
    std::string pressed;
    if (crc16.Down()) pressed += "CRC16 ";
    if (crc32.Down()) pressed += "CRC32 ";
    if (md5.Down()) pressed += "MD5 ";
    return pressed;
  }
};

TEST(ButtonGroup, RealMouseClicksMoveThePressedButton) {
  HashButtons buttons;
  ui_test::ShowInFront(buttons.form);
  ui_test::ClickCentre(buttons.md5.Handle());
  ASSERT_TRUE(ui_test::PumpUntil([&] { return buttons.clicks == 1; })) << "the mouse click did not arrive";
  EXPECT_EQ(buttons.Pressed(), "MD5 ");
  // Clicking the pressed button keeps it pressed.
  ui_test::ClickCentre(buttons.md5.Handle());
  ASSERT_TRUE(ui_test::PumpUntil([&] { return buttons.clicks == 2; }));
  EXPECT_EQ(buttons.Pressed(), "MD5 ");
  ui_test::ClickCentre(buttons.crc16.Handle());
  ASSERT_TRUE(ui_test::PumpUntil([&] { return buttons.clicks == 3; }));
  EXPECT_EQ(buttons.Pressed(), "CRC16 ");
}

TEST(ButtonGroup, PostedButtonMessagesActLikeClicks) {
  HashButtons buttons;
  const HWND md5 = buttons.md5.Handle();
  PostMessageW(md5, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(md5, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ui_test::Pump(5);
  EXPECT_EQ(buttons.Pressed(), "MD5 ");
  SendMessageW(buttons.crc32.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(buttons.Pressed(), "CRC32 ");
  EXPECT_EQ(buttons.clicks, 2);
}

TEST(ButtonGroup, SetDownFromCodeReleasesTheOthersWithoutAClick) {
  HashButtons buttons;
  buttons.md5.SetDown(true);
  EXPECT_EQ(buttons.Pressed(), "MD5 ");
  buttons.crc16.SetDown(true);
  EXPECT_EQ(buttons.Pressed(), "CRC16 ");
  EXPECT_EQ(buttons.clicks, 0);
  // Other groups and other parents are not touched.
  ui::Button other({.parent = &buttons.form, .caption = u8"x", .groupIndex = 1, .down = true});
  EXPECT_TRUE(other.Down());
  EXPECT_EQ(buttons.Pressed(), "CRC16 ");
}

TEST(ButtonGroup, DownStateSurvivesRecreation) {
  HashButtons buttons;
  buttons.md5.SetDown(true);
  buttons.form.RecreateWindow();
  EXPECT_EQ(buttons.Pressed(), "MD5 ");
  SendMessageW(buttons.crc16.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(buttons.Pressed(), "CRC16 ");
}

// What Windows and a screen reader learn of each button, after each real click: the check
// state, the state word and the accessible object, also one taken before the clicks.
TEST(ButtonGroup, CheckStateAndAccessibleObjectFollowRealClicks) {
  HashButtons buttons;
  ui_test::ShowInFront(buttons.form);
  ui::Button* const all[] = {&buttons.crc16, &buttons.crc32, &buttons.md5};
  AccessibleClient heldMd5(buttons.md5.Handle());
  ASSERT_TRUE(heldMd5.Found()) << "no accessible object";
  ui::Button* const clicks[] = {&buttons.md5, &buttons.md5, &buttons.crc16, &buttons.crc32};
  for (std::size_t i = 0; i < std::size(clicks); ++i) {
    ui::Button* const clicked = clicks[i];
    ui_test::ClickCentre(clicked->Handle());
    ASSERT_TRUE(ui_test::PumpUntil([&] { return buttons.clicks == static_cast<int>(i) + 1; }));
    for (ui::Button* button : all) {
      SCOPED_TRACE("click " + std::to_string(i) + " on " + clicked->Text() + ", asking " + button->Text());
      const bool down = button == clicked;
      ASSERT_EQ(button->Down(), down);
      const HWND window = button->Handle();
      EXPECT_EQ(SendMessageW(window, BM_GETCHECK, 0, 0), down ? BST_CHECKED : BST_UNCHECKED);
      const LRESULT state = SendMessageW(window, BM_GETSTATE, 0, 0);
      EXPECT_EQ(state & (BST_CHECKED | BST_INDETERMINATE), down ? BST_CHECKED : 0);
      EXPECT_EQ((state & BST_FOCUS) != 0, down) << "a click gives the button the focus";
      EXPECT_EQ(state & BST_PUSHED, 0) << "the mouse is up";
      const AccessibleClient object(window);
      EXPECT_EQ(object.Name(), button->WideText());
      EXPECT_EQ(object.Role(), ROLE_SYSTEM_PUSHBUTTON);
      EXPECT_EQ((object.State() & STATE_SYSTEM_PRESSED) != 0, down);
      EXPECT_NE(object.State() & STATE_SYSTEM_FOCUSABLE, 0) << "the system's states stay";
    }
    EXPECT_EQ((heldMd5.State() & STATE_SYSTEM_PRESSED) != 0, buttons.md5.Down()) << "a held object follows";
  }
}

// Out-of-context WinEvents of this process: the state changes that screen readers follow.
class StateChanges {
 public:
  StateChanges() {
    seen_.clear();
    hook_ = SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_STATECHANGE, nullptr, Record, GetCurrentProcessId(),
                            0, WINEVENT_OUTOFCONTEXT);
  }
  StateChanges(const StateChanges&) = delete;
  StateChanges& operator=(const StateChanges&) = delete;
  ~StateChanges() { UnhookWinEvent(hook_); }
  [[nodiscard]] bool Hooked() const { return hook_ != nullptr; }
  // The windows whose client object changed state, in order, among those asked for.
  static std::vector<HWND> Of(std::initializer_list<HWND> windows) {
    std::vector<HWND> changed;
    for (HWND window : seen_) {
      if (std::find(windows.begin(), windows.end(), window) != windows.end()) changed.push_back(window);
    }
    return changed;
  }
  static void Clear() { seen_.clear(); }

 private:
  static void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (event == EVENT_OBJECT_STATECHANGE && object == OBJID_CLIENT && child == CHILDID_SELF) seen_.push_back(window);
  }
  static inline std::vector<HWND> seen_;
  HWINEVENTHOOK hook_;
};

TEST(ButtonGroup, EachChangeOfThePressIsAnnounced) {
  HashButtons buttons;
  ui_test::ShowInFront(buttons.form);
  const HWND crc16 = buttons.crc16.Handle(), crc32 = buttons.crc32.Handle(), md5 = buttons.md5.Handle();
  StateChanges events;
  ASSERT_TRUE(events.Hooked());
  struct Step {
    std::function<void()> act;
    std::vector<HWND> announced;  // released first, then pressed
  };
  const Step steps[] = {
      {[&] { ui_test::ClickCentre(md5); }, {crc32, md5}},
      {[&] { ui_test::ClickCentre(md5); }, {}},  // still pressed: nothing changed
      {[&] { SendMessageW(crc16, BM_SETCHECK, BST_CHECKED, 0); }, {md5, crc16}},
      {[&] { SendMessageW(crc16, BM_SETCHECK, BST_UNCHECKED, 0); }, {crc16}},
  };
  int expectedClicks = 0;
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE("step " + std::to_string(i));
    StateChanges::Clear();
    const int before = buttons.clicks;
    steps[i].act();
    if (i < 2) {
      ++expectedClicks;
      ASSERT_TRUE(ui_test::PumpUntil([&] { return buttons.clicks == expectedClicks; }));
    }
    EXPECT_EQ(buttons.clicks - before, i < 2 ? 1 : 0);
    ui_test::Pump(5);  // out-of-context events arrive through the queue
    EXPECT_EQ(StateChanges::Of({crc16, crc32, md5}), steps[i].announced);
  }
  EXPECT_EQ(buttons.Pressed(), "") << "BM_SETCHECK releases too";
}

// The arrow keys (the main window's test walks them through the group) skip a disabled button.
TEST(ButtonGroup, ArrowKeysSkipADisabledButton) {
  HashButtons buttons;
  ui_test::ShowInFront(buttons.form);
  ui_test::ClickCentre(buttons.md5.Handle());
  ASSERT_TRUE(ui_test::PumpUntil([&] { return buttons.clicks == 1; }));
  buttons.crc16.SetEnabled(false);
  ui_test::PressKey(VK_RIGHT);
  ASSERT_TRUE(ui_test::PumpUntil([&] { return buttons.clicks == 2; })) << "the key did not press";
  EXPECT_EQ(buttons.Pressed(), "CRC32 ");
  EXPECT_TRUE(buttons.crc32.Focused());
  for (ui::Button* button : {&buttons.crc16, &buttons.crc32, &buttons.md5}) {
    EXPECT_EQ((GetWindowLongW(button->Handle(), GWL_STYLE) & WS_TABSTOP) != 0, button->Down()) << button->Text();
  }
}

// The button's pixels, read back from the screen.
std::vector<COLORREF> Capture(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ui_test::Pump(3);
  ui::WindowDc screen(window);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) pixels.push_back(GetPixel(screen.get(), x, y));
  }
  return pixels;
}

TEST(ButtonFocus, FocusRectangleShowsUnlessTheWindowHidesFocusCues) {
  HashButtons buttons;
  ui_test::ShowInFront(buttons.form);
  const HWND md5 = buttons.md5.Handle();
  buttons.crc16.SetFocus();
  const std::vector<COLORREF> unfocused = Capture(md5);
  buttons.md5.SetFocus();
  ASSERT_TRUE(buttons.md5.Focused());
  const std::vector<COLORREF> focused = Capture(md5);
  // Every pixel that differs lies on the dotted rectangle two pixels inside the edges.
  RECT client{};
  GetClientRect(md5, &client);
  int onOutline = 0;
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) {
      const std::size_t i = static_cast<std::size_t>(y * client.right + x);
      if (focused[i] == unfocused[i]) continue;
      const bool inside = x >= 2 && x <= client.right - 3 && y >= 2 && y <= client.bottom - 3;
      const bool outline = inside && (x == 2 || x == client.right - 3 || y == 2 || y == client.bottom - 3);
      EXPECT_TRUE(outline) << "changed at " << x << "," << y;
      onOutline += outline ? 1 : 0;
    }
  }
  EXPECT_GT(onOutline, client.right) << "no focus rectangle drawn";

  // Hidden focus cues: Windows hides them for a mouse user unless the settings say otherwise.
  // Wine keeps no UI state (WM_QUERYUISTATE answers 0 there), so the button is told the state
  // through its message slot, as Windows would answer it; the repaint comes as on Windows.
  const ui::WindowProcSlot original = buttons.md5.WindowProc();
  buttons.md5.WindowProc() = [&](ui::Message& message) {
    if (message.msg == WM_QUERYUISTATE) {
      message.result = UISF_HIDEFOCUS;
      return;
    }
    original(message);
  };
  EXPECT_EQ(Capture(md5), unfocused);
  buttons.md5.WindowProc() = original;
  EXPECT_EQ(Capture(md5), focused);
}

}  // namespace
