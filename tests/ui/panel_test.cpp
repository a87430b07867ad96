#include "ui/panel.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui_test_support.h"

namespace {

// Two panels that start something, as the main window's drop panels do, and a plain one.
struct InvokablePanels {
  ui::Form form{{.caption = u8"panels", .left = 100, .top = 100, .clientWidth = 152, .clientHeight = 260}};
  ui::Panel first{{.parent = &form,
                   .caption = u8"比較",
                   .width = 144,
                   .height = 120,
                   .bevelOuter = ui::Bevel::Lowered,
                   .bevelInner = ui::Bevel::Raised,
                   .tabStop = true}};
  ui::Panel second{{.parent = &form,
                    .caption = u8"作成",
                    .top = 125,
                    .width = 144,
                    .height = 120,
                    .bevelOuter = ui::Bevel::Lowered,
                    .bevelInner = ui::Bevel::Raised,
                    .tabStop = true}};
  ui::Panel plain{{.parent = &form, .top = 250, .width = 20, .height = 8}};
  struct Invoke {
    ui::Panel* panel;
    POINT at;
  };
  std::vector<Invoke> invokes;

  InvokablePanels() {
    for (ui::Panel* panel : {&first, &second}) {
      panel->OnInvoke = [this, panel](POINT at) { invokes.push_back({panel, at}); };
    }
  }
  // Keys through the system, until the focus is where it should be.
  bool TabTo(ui::Panel& panel, bool shift = false) {
    ui_test::PressKey(VK_TAB, shift);
    return ui_test::PumpUntil([&] { return panel.Focused(); });
  }
  bool InvokedBy(WORD key, std::size_t count) {
    ui_test::PressKey(key);
    return ui_test::PumpUntil([&] { return invokes.size() == count; });
  }
};

POINT CentreOnScreen(ui::Control& control) {
  POINT centre{control.ClientWidth() / 2, control.ClientHeight() / 2};
  ClientToScreen(control.Handle(), &centre);
  return centre;
}

TEST(InvokablePanel, TabStopsThatTabReachesAndEnterOrSpaceInvokes) {
  InvokablePanels panels;
  for (ui::Panel* panel : {&panels.first, &panels.second}) {
    const LONG_PTR style = GetWindowLongPtrW(panel->Handle(), GWL_STYLE);
    EXPECT_NE(style & WS_TABSTOP, 0);
    EXPECT_EQ(GetWindowLongPtrW(panel->Handle(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT, 0) << "Tab stops on it";
  }
  EXPECT_NE(GetWindowLongPtrW(panels.plain.Handle(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT, 0);

  ui_test::ShowInFront(panels.form);
  panels.form.SetFocus();
  ASSERT_TRUE(panels.TabTo(panels.first)) << "the key did not arrive";
  ui_test::PressKey('A');
  ui_test::Pump();
  EXPECT_TRUE(panels.invokes.empty()) << "other keys do nothing";
  ASSERT_TRUE(panels.InvokedBy(VK_RETURN, 1));
  ASSERT_TRUE(panels.InvokedBy(VK_SPACE, 2));
  ASSERT_TRUE(panels.TabTo(panels.second));
  ASSERT_TRUE(panels.InvokedBy(VK_RETURN, 3));
  ASSERT_TRUE(panels.TabTo(panels.first)) << "the order wraps around";
  ASSERT_TRUE(panels.TabTo(panels.second, true)) << "Shift+Tab goes back";
  ASSERT_TRUE(panels.InvokedBy(VK_SPACE, 4));

  ui::Panel* const expected[] = {&panels.first, &panels.first, &panels.second, &panels.second};
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(panels.invokes[i].panel, expected[i]) << i;
    const POINT centre = CentreOnScreen(*expected[i]);
    EXPECT_EQ(panels.invokes[i].at.x, centre.x) << i;
    EXPECT_EQ(panels.invokes[i].at.y, centre.y) << i;
  }
  ui_test::Pump();
  EXPECT_EQ(panels.invokes.size(), 4u) << "one invoke per key press";
}

TEST(InvokablePanel, ADoubleClickInvokesAtTheCursorAndASingleClickDoesNot) {
  InvokablePanels panels;
  ui_test::ShowInFront(panels.form);
  ui_test::ClickCentre(panels.second.Handle());
  ui_test::Pump();
  EXPECT_TRUE(panels.invokes.empty());
  ui_test::Pump(50);  // beyond the double-click time, so the next two clicks pair alone

  POINT at{20, 30};
  ClientToScreen(panels.first.Handle(), &at);
  testfiles::SendDoubleClick(at);
  ASSERT_TRUE(ui_test::PumpUntil([&] { return !panels.invokes.empty(); })) << "no double click arrived";
  EXPECT_EQ(panels.invokes[0].panel, &panels.first);
  EXPECT_EQ(panels.invokes[0].at.x, at.x);
  EXPECT_EQ(panels.invokes[0].at.y, at.y);
}

// Pixels of the column just inside the panel's two bevels that differ from the face colour.
int MarkedPixelsInsideTheBevels(ui::Panel& panel) {
  panel.Repaint();
  HDC dc = GetDC(panel.Handle());
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  int marked = 0;
  for (int y = 4; y < panel.ClientHeight() - 4; ++y) {
    if (GetPixel(dc, 3, y) != face) ++marked;
  }
  ReleaseDC(panel.Handle(), dc);
  return marked;
}

TEST(InvokablePanel, TheFocusShowsAsARectangleInsideTheBevels) {
  InvokablePanels panels;
  ui_test::ShowInFront(panels.form);
  panels.form.SetFocus();
  ASSERT_TRUE(panels.TabTo(panels.first));
  EXPECT_GT(MarkedPixelsInsideTheBevels(panels.first), 20);
  EXPECT_EQ(MarkedPixelsInsideTheBevels(panels.second), 0);

  ASSERT_TRUE(panels.TabTo(panels.second));
  EXPECT_EQ(MarkedPixelsInsideTheBevels(panels.first), 0) << "the focus left";
  EXPECT_GT(MarkedPixelsInsideTheBevels(panels.second), 20);
}

}  // namespace
