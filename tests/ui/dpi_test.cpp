// A form moved to a monitor of another DPI: WM_DPICHANGED, as Windows sends it, with the
// rectangle it suggests. Every length the form and its controls were designed with, and every
// font, follows the new DPI; back on the first monitor everything is as designed again.
#include "ui/dpi.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/image_list.h"
#include "ui/label.h"
#include "ui/list_view.h"
#include "ui/panel.h"
#include "ui/status_bar.h"
#include "ui/tab_control.h"
#include "ui_test_support.h"

namespace {

const ui::FontSpec kFont{.face = u8"ＭＳ Ｐゴシック", .height = 12, .charset = SHIFTJIS_CHARSET};

// The character height of the font a control draws with: its window's (WM_GETFONT), or for the ui
// layer's own windows (which keep none) the one they paint with.
int FontHeightOf(ui::Control& control) {
  auto font = reinterpret_cast<HFONT>(SendMessageW(control.Handle(), WM_GETFONT, 0, 0));
  if (font == nullptr) font = control.CurrentFont();
  LOGFONTW logFont{};
  if (font == nullptr || GetObjectW(font, sizeof logFont, &logFont) == 0) return 0;
  return -logFont.lfHeight;
}

RECT BoundsInParent(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

std::vector<int> StatusParts(HWND bar) {
  std::vector<int> rights(static_cast<std::size_t>(SendMessageW(bar, SB_GETPARTS, 0, 0)));
  SendMessageW(bar, SB_GETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
  return rights;
}

// What Windows does when the form's window comes to a monitor of another DPI.
void MoveToMonitorOfDpi(ui::Form& form, int dpi, RECT suggested) {
  SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

// One of each kind of control, placed as a design places them.
struct DesignedForm : ui::Form {
  DesignedForm()
      : ui::Form({.caption = u8"DPI",
                  .left = 40,
                  .top = 30,
                  .clientWidth = 300,
                  .clientHeight = 240,
                  .borderStyle = ui::BorderStyle::Sizeable,
                  .minWidth = 160,
                  .minHeight = 120,
                  .font = kFont}),
        panel({.parent = this, .caption = u8"作成", .left = 4, .top = 6, .width = 144, .height = 61}),
        button({.parent = &panel, .caption = u8"CRC32", .left = 37, .top = 21, .width = 34, .height = 22}),
        box({.parent = this, .caption = u8"最前面表示", .left = 152, .top = 8, .width = 81, .height = 17}),
        label({.parent = this, .caption = u8"大文字", .left = 152, .top = 31, .width = 36, .height = 12}),
        edit({.parent = this, .text = "md5", .left = 195, .top = 27, .width = 49, .height = 21}),
        tabs({.parent = this, .left = 0, .top = 70, .width = 300, .height = 150, .tabWidth = 45}),
        sheet({.control = &tabs, .caption = u8"一"}),
        list({.parent = &sheet,
              .align = ui::Align::Client,
              .columns = {{.caption = u8"Name", .width = 77}, {.caption = u8"Hash", .width = 51}}}),
        status({.parent = this, .panelWidths = {60, 50}, .height = 19}),
        pictures(12, 12) {
    pictures.Add([](HDC, const RECT&) {});
    list.SetStateImages(&pictures);
    OnDpiChanged = [this] { ++dpiChanges; };
  }
  ui::Panel panel;
  ui::Button button;
  ui::CheckBox box;
  ui::Label label;
  ui::Edit edit;
  ui::TabControl tabs;
  ui::TabSheet sheet;
  ui::ListView list;
  ui::StatusBar status;
  ui::ImageList pictures;
  int dpiChanges = 0;
};

struct Placed {
  ui::Control* control;
  RECT designed;  // left, top, right, bottom at 96 DPI
};

class DpiChange : public testing::Test {
 protected:
  // The designed places of the controls that no alignment moves.
  std::vector<Placed> Placements() {
    return {{&form.panel, {4, 6, 148, 67}},    {&form.button, {37, 21, 71, 43}}, {&form.box, {152, 8, 233, 25}},
            {&form.label, {152, 31, 188, 43}}, {&form.edit, {195, 27, 244, 48}}, {&form.tabs, {0, 70, 300, 220}}};
  }

  // Everything designed at 96 DPI, at dpi (the DPI the form had when made: 96 under the tests).
  void ExpectDesignAt(int dpi) {
    EXPECT_EQ(form.Dpi(), dpi);
    const auto at = [dpi](int length) { return ui::ScaleToDpi(length, dpi); };
    for (const Placed& placed : Placements()) {
      SCOPED_TRACE(placed.control->Text());
      const RECT bounds = BoundsInParent(placed.control->Handle());
      EXPECT_EQ(bounds.left, at(placed.designed.left));
      EXPECT_EQ(bounds.top, at(placed.designed.top));
      EXPECT_EQ(bounds.right - bounds.left, at(placed.designed.right - placed.designed.left));
      EXPECT_EQ(bounds.bottom - bounds.top, at(placed.designed.bottom - placed.designed.top));
      EXPECT_EQ(placed.control->Left(), bounds.left);
      EXPECT_EQ(placed.control->Width(), bounds.right - bounds.left);
    }
    ui::Control* const texts[] = {&form.panel, &form.button, &form.box,  &form.label,
                                  &form.edit,  &form.tabs,   &form.list, &form.status};
    for (ui::Control* control : texts) EXPECT_EQ(FontHeightOf(*control), at(12)) << control->Text();
    EXPECT_EQ(form.list.ColumnWidth(0), at(77));
    EXPECT_EQ(form.list.ColumnWidth(1), at(51));
    EXPECT_EQ(form.pictures.Width(), at(12));
    int pictureWidth = 0, pictureHeight = 0;
    ImageList_GetIconSize(form.pictures.Handle(), &pictureWidth, &pictureHeight);
    EXPECT_EQ(pictureWidth, at(12));
    EXPECT_EQ(pictureHeight, at(12));
    EXPECT_EQ(form.tabs.TabWidth(), at(45));
    RECT tab{};
    SendMessageW(form.tabs.Handle(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
    EXPECT_EQ(tab.right - tab.left, at(45));
    // The sheet fills the display area of the row of tabs in its new font.
    const RECT area = form.tabs.DisplayRect();
    EXPECT_EQ(form.sheet.Top(), area.top);
    EXPECT_EQ(form.sheet.Height(), area.bottom - area.top);
    EXPECT_EQ(form.status.Height(), at(19));
    EXPECT_EQ(form.status.Top() + form.status.Height(), form.ClientHeight());
    const std::vector<int> edges = StatusParts(form.status.Handle());
    ASSERT_EQ(edges.size(), 2U);
    EXPECT_EQ(edges[0], at(60));
    EXPECT_EQ(form.status.Panel(1).Width(), at(50));
    MINMAXINFO limits{};
    SendMessageW(form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, at(160));
    EXPECT_EQ(limits.ptMinTrackSize.y, at(120));
  }

  DesignedForm form;
};

TEST_F(DpiChange, ToAMonitorOfAnotherDpiAndBack) {
  ASSERT_EQ(form.Dpi(), ui::kDesignDpi) << "the tests run at 96 DPI";
  RECT client{};
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right, 300);
  EXPECT_EQ(client.bottom, 240);
  ExpectDesignAt(96);

  const RECT suggested{1300, 200, 1300 + 462, 200 + 390};
  MoveToMonitorOfDpi(form, 144, suggested);
  EXPECT_EQ(form.dpiChanges, 1);
  RECT window{};
  GetWindowRect(form.Handle(), &window);
  EXPECT_EQ(window.left, suggested.left);
  EXPECT_EQ(window.top, suggested.top);
  EXPECT_EQ(window.right, suggested.right);
  EXPECT_EQ(window.bottom, suggested.bottom);
  EXPECT_EQ(form.Left(), suggested.left);
  EXPECT_EQ(form.Width(), 462);
  ExpectDesignAt(144);
  // What is made now is made at the form's DPI.
  ui::Label late({.parent = &form, .caption = u8"後", .left = 10, .top = 20, .width = 30, .height = 12});
  EXPECT_EQ(BoundsInParent(late.Handle()).left, 15);
  EXPECT_EQ(late.Height(), 18);
  EXPECT_EQ(FontHeightOf(late), 18);

  // The same DPI again changes nothing.
  MoveToMonitorOfDpi(form, 144, suggested);
  EXPECT_EQ(form.dpiChanges, 1);

  MoveToMonitorOfDpi(form, 96, {40, 30, 40 + 308, 30 + 260});
  EXPECT_EQ(form.dpiChanges, 2);
  ExpectDesignAt(96);
  EXPECT_EQ(BoundsInParent(late.Handle()).left, 10);
  EXPECT_EQ(late.Height(), 12);
}

TEST_F(DpiChange, FontsKeepTheirPointSizeAlsoWhenSetLater) {
  MoveToMonitorOfDpi(form, 120, {0, 0, 400, 320});
  form.button.SetFont({.face = kFont.face, .height = 10, .charset = SHIFTJIS_CHARSET});
  EXPECT_EQ(FontHeightOf(form.button), 13);  // 10 * 120 / 96 = 12.5
  EXPECT_EQ(form.button.Font().height, 10);  // the font asked for stays as designed
  EXPECT_EQ(FontHeightOf(form.box), 15);
  MoveToMonitorOfDpi(form, 192, {0, 0, 600, 480});
  EXPECT_EQ(FontHeightOf(form.button), 20);
  EXPECT_EQ(FontHeightOf(form.box), 24);
  EXPECT_EQ(form.Scaled(10), 20);
  EXPECT_EQ(form.box.Unscaled(162), 81);
}

TEST(Dpi, AWindowsDpiIsTheScreensUnderTests) {
  ui::Form form;
  EXPECT_EQ(ui::WindowDpi(form.Handle()), ui::ScreenDpi());
  EXPECT_EQ(ui::WindowDpi(nullptr), ui::ScreenDpi());
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(ui::ScreenDpi(), GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
}

}  // namespace
