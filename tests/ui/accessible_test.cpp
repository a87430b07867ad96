// Accessible names as a screen reader reads them (AccessibleObjectFromWindow), and the list's
// telling readers apart from its painting.
#include "ui/accessible.h"

#include <gtest/gtest.h>

#include <memory>

#include "support/accessibility.h"
#include "ui/edit.h"
#include "ui/label.h"
#include "ui/list_view.h"
#include "ui/panel.h"
#include "ui/rich_edit.h"
#include "ui/status_bar.h"
#include "ui/tab_control.h"
#include "ui_test_support.h"

namespace {

std::wstring WindowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

struct NamedWindow {
  ui::Form form{{.caption = u8"names", .width = 400, .height = 300}};
  ui::Panel frame{{.parent = &form, .left = 0, .top = 0, .width = 100, .height = 40, .bevelOuter = ui::Bevel::None}};
  ui::Panel captioned{{.parent = &form, .caption = u8"比較", .left = 0, .top = 40, .width = 100, .height = 40}};
  ui::ListView list{{.parent = &form, .left = 100, .top = 0, .width = 200, .height = 80}};
  ui::TabControl tabs{{.parent = &form, .left = 0, .top = 80, .width = 200, .height = 60}};
  ui::StatusBar status{{.parent = &form, .panelWidths = {60, 0}}};
  ui::RichEdit text{{.parent = &form, .left = 200, .top = 80, .width = 100, .height = 60}};
  ui::Label label{{.parent = &form, .caption = u8"標準CRC拡張子", .left = 0, .top = 150, .width = 84}};
  ui::Edit edit{{.parent = &form, .text = "crc", .left = 88, .top = 146, .width = 49}};

  NamedWindow() {
    frame.SetAccessibleName(u8"ページ");
    list.SetAccessibleName(u8"比較結果");
    tabs.SetAccessibleName(u8"比較リスト");
    status.SetAccessibleName(u8"状態");
    text.SetAccessibleName(u8"リストのテキスト");
    text.SetText("Name  CRC32\r\n");
  }
};

// Where each kind of control keeps its name, and that a reader finds it there; the state of a
// window made anew keeps it.
TEST(AccessibleName, EachKindOfControlIsNamedWhereReadersLook) {
  NamedWindow window;
  for (const bool recreated : {false, true}) {
    SCOPED_TRACE(recreated ? "after the windows were made anew" : "as made");
    if (recreated) window.form.RecreateWindow();
    struct Case {
      const char* what;
      ui::Control* control;
      std::wstring name;
      bool inWindowText;  // the name is the window's own text, which the system's object reads
    };
    const Case cases[] = {
        {"a frame", &window.frame, L"ページ", false},
        {"a captioned panel, not named", &window.captioned, L"比較", true},
        {"a list view", &window.list, L"比較結果", true},
        {"a tab control", &window.tabs, L"比較リスト", true},
        {"a status bar", &window.status, L"状態", false},
        {"a text box", &window.text, L"リストのテキスト", false},
        {"an edit box after its label, not named", &window.edit, L"標準CRC拡張子", false},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.what);
      const HWND handle = c.control->Handle();
      const AccessibleClient object(handle);
      ASSERT_TRUE(object.Found());
      EXPECT_EQ(object.Name(), c.name);
      EXPECT_EQ(WindowText(handle) == c.name, c.inWindowText);
    }
    EXPECT_EQ(window.text.Text(), "Name  CRC32\r\n") << "the name is not the content";
    EXPECT_EQ(window.edit.Text(), "crc");
  }
}

TEST(AccessibleName, AControlWithNothingToAddLeavesTheSystemsObject) {
  NamedWindow window;
  // Not answered: the reader's own side makes the system's object, as for any window.
  EXPECT_EQ(SendMessageW(window.captioned.Handle(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT)), 0);
  EXPECT_EQ(SendMessageW(window.edit.Handle(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT)), 0);
  EXPECT_EQ(SendMessageW(window.list.Handle(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT)), 0);
  // Other objects of a named window (its frame, its scroll bars) are the system's too.
  EXPECT_EQ(SendMessageW(window.frame.Handle(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_WINDOW)), 0);
}

// A reader may hold an object longer than the control lives: it then says nothing of the
// control, and nothing breaks.
TEST(AccessibleName, AnObjectOutlivingItsControlSaysNothingOfIt) {
  ui::Form form{{.caption = u8"gone"}};
  auto panel = std::make_unique<ui::Panel>(ui::PanelArgs{.parent = &form, .bevelOuter = ui::Bevel::None});
  panel->SetAccessibleName(u8"ページ");
  const AccessibleClient object(panel->Handle());
  ASSERT_EQ(object.Name(), L"ページ");
  panel.reset();
  EXPECT_NE(object.Name(), L"ページ");
  (void)object.Role();
  (void)object.State();
}

// What the list paints and what a reader reads come from the same OnData; the list says which
// one asks, and only the messages that read it count as a reader.
TEST(ListViewReaders, ReadersAreToldApartFromPainting) {
  ui::Form form{{.caption = u8"list", .left = 0, .top = 0, .width = 300, .height = 200}};
  ui::ListView list{{.parent = &form, .align = ui::Align::Client, .columns = {{.caption = u8"Name"}}}};
  std::vector<bool> asked;
  list.OnData = [&](int index, ui::ListItemData& item) {
    asked.push_back(item.forReader);
    item.caption = item.forReader ? "read " + std::to_string(index) : "shown";
  };
  list.SetItemCount(3);
  ui_test::ShowInFront(form);
  const auto paint = [&] {
    asked.clear();
    RedrawWindow(list.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_FALSE(asked.empty()) << "the list did not paint";
    EXPECT_EQ(std::count(asked.begin(), asked.end(), true), 0) << "painting counted as a reader";
  };
  paint();
  wchar_t buffer[32] = {};
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = 1;
  item.pszText = buffer;
  item.cchTextMax = 32;
  asked.clear();
  SendMessageW(list.Handle(), LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(buffer, L"read 1");
  item.pszText = buffer;
  SendMessageW(list.Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(buffer, L"read 1");
  EXPECT_EQ(asked, (std::vector<bool>{true, true}));
  paint();  // and the next painting is painting again
}

}  // namespace
