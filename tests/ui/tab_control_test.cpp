#include "ui/tab_control.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include "ui/check_box.h"
#include "ui_test_support.h"

namespace {

struct Tabs {
  ui::Form form{{.left = 20, .top = 20, .width = 408, .height = 327}};
  ui::TabControl tabs{{.parent = &form, .align = ui::Align::Client}};
  int changes = 0;
  Tabs() {
    tabs.OnChange = [this] { ++changes; };
  }
  [[nodiscard]] int Items() { return static_cast<int>(SendMessageW(tabs.Handle(), TCM_GETITEMCOUNT, 0, 0)); }
  [[nodiscard]] int CurSel() { return static_cast<int>(SendMessageW(tabs.Handle(), TCM_GETCURSEL, 0, 0)); }
  [[nodiscard]] std::wstring ItemText(int item) {
    wchar_t text[64] = L"";
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = text;
    tab.cchTextMax = 64;
    SendMessageW(tabs.Handle(), TCM_GETITEMW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&tab));
    return text;
  }
  [[nodiscard]] RECT ItemRect(int item) {
    RECT rect{};
    SendMessageW(tabs.Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect));
    return rect;
  }
};

TEST(TabControl, SheetsAreAddedAtTheEndWithTheirCaptions) {
  Tabs t;
  t.tabs.AddSheet(u8"/");
  t.tabs.AddSheet("\xE8\xA1\xA8");  // 表: an ANSI data caption
  EXPECT_EQ(t.tabs.PageCount(), 2);
  EXPECT_EQ(t.Items(), 2);
  EXPECT_EQ(t.ItemText(1), L"表");
  EXPECT_EQ(t.tabs.Page(1).Caption(), "\xE8\xA1\xA8");
  EXPECT_EQ(t.tabs.ActivePageIndex(), 0);  // the first page became active
  t.tabs.SetSheetCaption(t.tabs.Page(0), u8"2004");
  EXPECT_EQ(t.ItemText(0), L"2004");
  EXPECT_EQ(t.changes, 0);
}

TEST(TabControl, ActivePageFromCodeRaisesNoChangeAndMinusOneMeansNone) {
  Tabs t;
  for (const char8_t* caption : {u8"a", u8"b", u8"c"}) t.tabs.AddSheet(caption);
  t.tabs.SetActivePageIndex(2);
  EXPECT_EQ(t.tabs.ActivePageIndex(), 2);
  EXPECT_EQ(t.CurSel(), 2);
  EXPECT_TRUE(t.tabs.Page(2).Visible());
  EXPECT_FALSE(t.tabs.Page(0).Visible());
  t.tabs.SetActivePageIndex(-1);
  EXPECT_EQ(t.tabs.ActivePageIndex(), -1);
  EXPECT_EQ(t.tabs.ActivePage(), nullptr);
  EXPECT_EQ(t.CurSel(), -1);
  EXPECT_FALSE(t.tabs.Page(2).Visible());
  EXPECT_EQ(t.changes, 0);
  t.tabs.ActivatePage(1, true);  // what the tab commands do
  EXPECT_EQ(t.changes, 1);
}

TEST(TabControl, AUserClickOnATabRaisesTheChange) {
  Tabs t;
  t.tabs.AddSheet(u8"first");
  t.tabs.AddSheet(u8"second");
  ui_test::ShowInFront(t.form);
  const RECT second = t.ItemRect(1);
  ui_test::ClickAt(t.tabs.Handle(), {(second.left + second.right) / 2, (second.top + second.bottom) / 2});
  ASSERT_TRUE(ui_test::PumpUntil([&] { return t.changes == 1; })) << "the click did not arrive";
  EXPECT_EQ(t.tabs.ActivePageIndex(), 1);
  EXPECT_TRUE(IsWindowVisible(t.tabs.Page(1).Handle()));
  EXPECT_FALSE(IsWindowVisible(t.tabs.Page(0).Handle()));
}

TEST(TabControl, HiddenTabsKeepTheirPageAndPlace) {
  Tabs t;
  ui::TabSheet dragDrop({.control = &t.tabs, .caption = u8"D&&D"});
  ui::TabSheet preferences({.control = &t.tabs, .caption = u8"設定"});
  ui::CheckBox option({.parent = &preferences, .caption = u8"処理状況表示", .checked = true});
  t.tabs.SetActivePage(preferences);
  preferences.SetTabVisible(false);  // a run hides the options
  EXPECT_EQ(t.Items(), 1);
  EXPECT_EQ(t.ItemText(0), L"D&&D");
  EXPECT_EQ(t.tabs.PageCount(), 2);
  EXPECT_EQ(t.tabs.ActivePageIndex(), 0);  // its page left with the tab
  EXPECT_TRUE(option.Checked());
  t.tabs.SetActivePageIndex(1);  // a hidden page cannot be activated
  EXPECT_EQ(t.tabs.ActivePageIndex(), 0);
  preferences.SetTabVisible(true);
  EXPECT_EQ(t.Items(), 2);
  EXPECT_EQ(t.ItemText(1), L"設定");
  EXPECT_EQ(t.tabs.ActivePageIndex(), 0);
  EXPECT_EQ(t.changes, 0);
}

// The next and previous tab wrap around and pass over hidden tabs; with fewer than two tabs shown
// nothing changes and no change is raised.
TEST(TabControl, NeighboursWrapAroundAndPassOverHiddenTabs) {
  Tabs t;
  for (const char8_t* caption : {u8"a", u8"b", u8"c", u8"d"}) t.tabs.AddSheet(caption);
  t.tabs.Page(2).SetTabVisible(false);
  struct Step {
    int step;
    int active;
  };
  const Step steps[] = {{1, 1}, {1, 3}, {1, 0}, {-1, 3}, {-1, 1}, {-1, 0}};
  int changes = 0;
  for (const Step& s : steps) {
    t.tabs.ActivateNeighbour(s.step);
    EXPECT_EQ(t.tabs.ActivePageIndex(), s.active) << "step " << s.step << " to " << s.active;
    EXPECT_EQ(t.changes, ++changes);
  }
  t.tabs.Page(1).SetTabVisible(false);
  t.tabs.Page(3).SetTabVisible(false);
  t.tabs.ActivateNeighbour(1);
  EXPECT_EQ(t.tabs.ActivePageIndex(), 0) << "one tab shown";
  EXPECT_EQ(t.changes, changes);
}

TEST(TabControl, RemovingTheActiveSheetActivatesTheNextOrTheFirst) {
  Tabs t;
  for (const char8_t* caption : {u8"a", u8"b", u8"c"}) t.tabs.AddSheet(caption);
  t.tabs.SetActivePageIndex(1);
  t.tabs.RemoveSheet(1);
  EXPECT_EQ(t.tabs.PageCount(), 2);
  EXPECT_EQ(t.tabs.ActivePage()->Caption(), "c");
  t.tabs.RemoveSheet(1);  // the last one: the first becomes active
  EXPECT_EQ(t.tabs.ActivePage()->Caption(), "a");
  EXPECT_EQ(t.CurSel(), 0);
  t.tabs.RemoveSheet(0);
  EXPECT_EQ(t.tabs.ActivePageIndex(), -1);
  EXPECT_EQ(t.Items(), 0);
  EXPECT_EQ(t.changes, 0);
}

TEST(TabControl, DestroyingASheetTakesItsChildrenAlong) {
  Tabs t;
  ui::TabSheet& sheet = t.tabs.AddSheet(u8"page");
  bool childGone = false;
  auto& child = sheet.Adopt(std::make_unique<ui::CheckBox>(ui::CheckBoxArgs{.parent = &sheet}));
  child.AddDestroyObserver([&](ui::Control&) { childGone = true; });
  t.tabs.RemoveSheet(sheet);
  EXPECT_TRUE(childGone);
}

TEST(TabControl, FixedTabWidthAndCaptionWidth) {
  Tabs t;
  t.tabs.AddSheet(u8"a");
  t.tabs.AddSheet(u8"a much longer caption");
  const auto width = [&](int item) {
    const RECT rect = t.ItemRect(item);
    return rect.right - rect.left;
  };
  EXPECT_LT(width(0), width(1));  // 0: as wide as the caption
  t.tabs.SetTabWidth(100);
  EXPECT_EQ(width(0), 100);
  EXPECT_EQ(width(1), 100);
  EXPECT_NE(GetWindowLongPtrW(t.tabs.Handle(), GWL_STYLE) & TCS_FIXEDWIDTH, 0);
  t.form.RecreateWindow();
  EXPECT_EQ(width(0), 100);
  t.tabs.SetTabWidth(0);
  EXPECT_LT(width(0), width(1));
}

TEST(TabControl, SheetsFillTheDisplayArea) {
  Tabs t;
  ui::TabSheet& sheet = t.tabs.AddSheet(u8"a");
  const RECT area = t.tabs.DisplayRect();
  EXPECT_EQ(sheet.Left(), area.left);
  EXPECT_EQ(sheet.Top(), area.top);
  EXPECT_EQ(sheet.Width(), area.right - area.left);
  EXPECT_EQ(sheet.Height(), area.bottom - area.top);
  EXPECT_FALSE(t.tabs.TabStop());
}

}  // namespace
