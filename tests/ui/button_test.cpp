#include "ui/button.h"

#include <gtest/gtest.h>

#include "ui/panel.h"
#include "ui_test_support.h"

namespace {

// The three hash buttons of the main window: one exclusive group on a panel.
struct HashButtons {
  ui::Form form{{.caption = u8"buttons", .left = 100, .top = 100, .clientWidth = 152, .clientHeight = 130}};
  ui::Panel panel{{.parent = &form, .caption = u8"作成", .width = 144, .height = 120}};
  ui::Button crc16{
      {.parent = &panel, .caption = u8"CRC16", .left = 4, .top = 96, .width = 44, .height = 22, .groupIndex = 1}};
  ui::Button crc32{{.parent = &panel,
                    .caption = u8"CRC32",
                    .left = 50,
                    .top = 96,
                    .width = 44,
                    .height = 22,
                    .groupIndex = 1,
                    .down = true}};
  ui::Button md5{
      {.parent = &panel, .caption = u8"MD5", .left = 96, .top = 96, .width = 44, .height = 22, .groupIndex = 1}};
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

}  // namespace
