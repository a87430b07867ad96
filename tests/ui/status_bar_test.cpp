#include "ui/status_bar.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include "ui/panel.h"
#include "ui_test_support.h"

namespace {

std::wstring PanelTextOf(HWND bar, int index) {
  wchar_t text[256] = L"";
  SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
  return text;
}

TEST(StatusBar, PanelsHaveTheirWidthsAndTheLastTakesTheRest) {
  ui::Form form({.clientWidth = 400, .clientHeight = 300});
  ui::Panel frame({.parent = &form, .align = ui::Align::Client, .bevelOuter = ui::Bevel::None});
  ui::StatusBar bar({.parent = &frame, .panelWidths = {60, 50}});
  int rights[4]{};
  ASSERT_EQ(SendMessageW(bar.Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(rights)), 2);
  EXPECT_EQ(rights[0], 60);
  EXPECT_EQ(rights[1], -1);
  EXPECT_EQ(bar.Height(), 19);
  EXPECT_EQ(bar.Top(), 300 - 19);  // along the bottom
  EXPECT_EQ(bar.Width(), 400);
  EXPECT_FALSE(SendMessageW(bar.Handle(), SB_ISSIMPLE, 0, 0));
}

TEST(StatusBar, PanelTextGoesThroughTheCoresInterface) {
  ui::Form form;
  ui::StatusBar bar({.parent = &form, .panelWidths = {60, 50}});
  TextPanel& progress = bar.Panel(1);
  progress.SetText("\xE8\xA1\xA8.txt 50%");  // 表.txt
  bar.SetPanelText(0, u8"完了");
  EXPECT_EQ(PanelTextOf(bar.Handle(), 1), L"表.txt 50%");
  EXPECT_EQ(PanelTextOf(bar.Handle(), 0), L"完了");
  EXPECT_EQ(bar.PanelText(1), "\xE8\xA1\xA8.txt 50%");
  form.RecreateWindow();
  EXPECT_EQ(PanelTextOf(bar.Handle(), 0), L"完了");
  EXPECT_EQ(PanelTextOf(bar.Handle(), 1), L"表.txt 50%");
}

}  // namespace
