#include "ui/control.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <stdexcept>

#include "ui/check_box.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/list_view.h"
#include "ui/panel.h"
#include "ui/tab_control.h"
#include "ui_test_support.h"

namespace {

constexpr UINT kProbe = WM_APP + 17;

std::wstring WindowText(HWND window) {
  wchar_t buffer[256]{};
  GetWindowTextW(window, buffer, 256);
  return buffer;
}

TEST(ControlSlot, ReplacedSlotSeesEachMessageOnceAndRestoringEndsIt) {
  ui::Form form({.caption = u8"slot"});
  ui::Panel panel({.parent = &form, .caption = u8"p"});
  ui::CheckBox box({.parent = &form, .caption = u8"c", .top = 50});

  for (ui::Control* control : {static_cast<ui::Control*>(&panel), static_cast<ui::Control*>(&box)}) {
    int seen = 0;
    const ui::WindowProcSlot saved = control->WindowProc();
    control->WindowProc() = [&](ui::Message& message) {
      if (message.msg == kProbe) ++seen;
      saved(message);
    };
    SendMessageW(control->Handle(), kProbe, 0, 0);
    EXPECT_EQ(seen, 1);
    control->WindowProc() = saved;
    SendMessageW(control->Handle(), kProbe, 0, 0);
    EXPECT_EQ(seen, 1);
  }
}

TEST(ControlSlot, PassedOnMessagesKeepTheirDefaultHandling) {
  ui::Form form;
  ui::CheckBox box({.parent = &form, .caption = u8"c"});
  int seen = 0;
  const ui::WindowProcSlot saved = box.WindowProc();
  box.WindowProc() = [&](ui::Message& message) {
    if (message.msg == BM_SETCHECK) ++seen;
    saved(message);
  };
  SendMessageW(box.Handle(), BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(SendMessageW(box.Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST(ControlSlot, ASlotCanAnswerAMessageItself) {
  ui::Form form;
  ui::Panel panel({.parent = &form});
  panel.WindowProc() = [&](ui::Message& message) {
    if (message.msg == kProbe) {
      message.result = 4711;
      return;
    }
    panel.DefaultHandler(message);
  };
  EXPECT_EQ(SendMessageW(panel.Handle(), kProbe, 0, 0), 4711);
}

TEST(ControlSlot, OwnClassSlotSeesCreateAndDestroyAcrossRecreation) {
  ui::Form form({.caption = u8"recreate"});
  ui::Panel panel({.parent = &form, .caption = u8"作成"});
  std::vector<std::pair<UINT, HWND>> events;
  const ui::WindowProcSlot saved = panel.WindowProc();
  panel.WindowProc() = [&](ui::Message& message) {
    if (message.msg == WM_CREATE || message.msg == WM_DESTROY)
      events.emplace_back(message.msg, panel.HandleIfAllocated());
    saved(message);
  };
  const HWND before = panel.Handle();
  form.RecreateWindow();
  const HWND after = panel.Handle();
  ASSERT_NE(after, nullptr);
  EXPECT_FALSE(IsWindow(before));
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0], std::make_pair(UINT{WM_DESTROY}, before));
  EXPECT_EQ(events[1], std::make_pair(UINT{WM_CREATE}, after));
  // The slot is still the replaced one.
  int seen = 0;
  panel.WindowProc() = [&](ui::Message& message) {
    if (message.msg == kProbe) ++seen;
    saved(message);
  };
  SendMessageW(after, kProbe, 0, 0);
  EXPECT_EQ(seen, 1);
}

TEST(ControlRecreate, KeepsEveryPieceOfState) {
  ui::Form form({.caption = u8"Ruvo - Calc",
                 .left = 40,
                 .top = 30,
                 .width = 408,
                 .height = 327,
                 .borderStyle = ui::BorderStyle::SizeableTool});
  ui::TabControl tabs({.parent = &form, .align = ui::Align::Client});
  ui::TabSheet& first = tabs.AddSheet(u8"first");
  ui::TabSheet& second = tabs.AddSheet("\xE8\xA1\xA8");  // 表
  ui::TabSheet& third = tabs.AddSheet(u8"third");
  third.SetTabVisible(false);
  tabs.SetActivePageIndex(1);
  ui::CheckBox box({.parent = &first, .caption = u8"最前面表示", .left = 0, .top = 128, .width = 81});
  ui::ListView list({.parent = &second,
                     .align = ui::Align::Client,
                     .columns = {{.caption = u8"Name", .width = 40},
                                 {.caption = u8"Bytes", .width = 50, .align = ui::ColumnAlign::Right}}});
  list.SetItemCount(25);
  list.OnData = [](int, ui::ListItemData& item) { item.caption.push_back('x'); };

  // What the user changes in the windows themselves.
  SendMessageW(box.Handle(), BM_CLICK, 0, 0);
  ASSERT_TRUE(box.Checked());
  SendMessageW(list.Handle(), LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(77, 0));
  list.SelectItem(3);

  const HWND oldForm = form.Handle();
  RECT oldBounds{};
  GetWindowRect(oldForm, &oldBounds);
  form.RecreateWindow();
  const HWND newForm = form.Handle();
  ASSERT_NE(newForm, oldForm);

  RECT newBounds{};
  GetWindowRect(newForm, &newBounds);
  EXPECT_EQ(newBounds.left, oldBounds.left);
  EXPECT_EQ(newBounds.top, oldBounds.top);
  EXPECT_EQ(newBounds.right - newBounds.left, 408);
  EXPECT_EQ(newBounds.bottom - newBounds.top, 327);
  EXPECT_EQ(WindowText(newForm), L"Ruvo - Calc");
  EXPECT_NE(GetWindowLongPtrW(newForm, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);

  EXPECT_EQ(SendMessageW(box.Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(WindowText(box.Handle()), L"最前面表示");
  EXPECT_EQ(SendMessageW(list.Handle(), LVM_GETITEMCOUNT, 0, 0), 25);
  EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(list.Handle())), 2);
  EXPECT_EQ(SendMessageW(list.Handle(), LVM_GETCOLUMNWIDTH, 0, 0), 77);
  EXPECT_EQ(SendMessageW(list.Handle(), LVM_GETCOLUMNWIDTH, 1, 0), 50);
  EXPECT_EQ(list.Selected(), 3);
  EXPECT_EQ(SendMessageW(tabs.Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(tabs.Handle(), TCM_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(tabs.ActivePageIndex(), 1);
  EXPECT_TRUE(IsWindowVisible(second.Handle()) || !IsWindowVisible(newForm));
  EXPECT_EQ(GetParent(box.Handle()), first.Handle());
  EXPECT_EQ(GetParent(first.Handle()), tabs.Handle());
}

TEST(ControlTree, DestroyObserversAreToldOnceAndCanBeRemoved) {
  ui::Form form;
  auto panel = std::make_unique<ui::Panel>(ui::PanelArgs{.parent = &form});
  int told = 0;
  int removedTold = 0;
  const ui::Control* const observed = panel.get();
  panel->AddDestroyObserver([&](ui::Control& control) {
    EXPECT_EQ(&control, observed);
    ++told;
  });
  const int removed = panel->AddDestroyObserver([&](ui::Control&) { ++removedTold; });
  panel->RemoveDestroyObserver(removed);
  panel.reset();
  EXPECT_EQ(told, 1);
  EXPECT_EQ(removedTold, 0);
  EXPECT_TRUE(form.Children().empty());
}

TEST(ControlTree, OwnedChildrenGoWithTheirParentAndMembersAreOrphaned) {
  ui::Form form;
  auto panel = std::make_unique<ui::Panel>(ui::PanelArgs{.parent = &form});
  bool ownedGone = false;
  ui::CheckBox& owned = panel->Adopt(std::make_unique<ui::CheckBox>(ui::CheckBoxArgs{.parent = panel.get()}));
  owned.AddDestroyObserver([&](ui::Control&) { ownedGone = true; });
  ui::CheckBox member({.parent = panel.get()});
  ASSERT_TRUE(member.HandleAllocated());
  panel.reset();
  EXPECT_TRUE(ownedGone);
  EXPECT_EQ(member.Parent(), nullptr);
  EXPECT_FALSE(member.HandleAllocated());
  member.SetChecked(true);  // an orphan is still a usable object
  EXPECT_TRUE(member.Checked());
}

TEST(ControlTree, OwnerFormIsTheTopOfTheParentChain) {
  ui::Form form;
  ui::TabControl tabs({.parent = &form});
  ui::TabSheet& sheet = tabs.AddSheet(u8"s");
  ui::Panel panel({.parent = &sheet});
  EXPECT_EQ(panel.OwnerForm(), &form);
  EXPECT_EQ(form.OwnerForm(), &form);
}

TEST(ControlErrors, AnExceptionInAHandlerGoesToTheErrorBoxNotToWindows) {
  ui::App().SetTitle(u8"Ruvo");
  ui_test::MessageBoxRecorder boxes;
  ui::Form form;
  ui::CheckBox box({.parent = &form, .caption = u8"c"});
  box.OnClick = [] { throw std::runtime_error("\xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB"); };  // ファイル
  SendMessageW(box.Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].text, L"ファイル");
  EXPECT_EQ(boxes.requests[0].caption, L"Ruvo");
  EXPECT_EQ(boxes.requests[0].flags, static_cast<UINT>(MB_ICONERROR | MB_OK));
  // The window is fine afterwards.
  EXPECT_TRUE(IsWindow(box.Handle()));
}

TEST(ControlErrors, OnExceptionReplacesTheErrorBox) {
  ui_test::MessageBoxRecorder boxes;
  std::string caught;
  ui::App().OnException = [&](std::exception_ptr error) {
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      caught = e.what();
    }
  };
  ui::Form form;
  ui::Panel panel({.parent = &form});
  panel.WindowProc() = [&](ui::Message& message) {
    if (message.msg == kProbe) throw std::runtime_error("hook failed");
    panel.DefaultHandler(message);
  };
  SendMessageW(panel.Handle(), kProbe, 0, 0);
  ui::App().OnException = nullptr;
  EXPECT_EQ(caught, "hook failed");
  EXPECT_TRUE(boxes.requests.empty());
}

TEST(ControlLayout, AlignedChildrenFollowTheParentsClientArea) {
  ui::Form form({.clientWidth = 200, .clientHeight = 300});
  ui::Panel top({.parent = &form, .height = 40, .align = ui::Align::Top});
  ui::Panel bottom({.parent = &form, .height = 19, .align = ui::Align::Bottom});
  ui::Panel fill({.parent = &form, .align = ui::Align::Client});
  auto expectBounds = [](const ui::Control& control, RECT expected) {
    EXPECT_EQ(control.Left(), expected.left);
    EXPECT_EQ(control.Top(), expected.top);
    EXPECT_EQ(control.Width(), expected.right);
    EXPECT_EQ(control.Height(), expected.bottom);
  };
  expectBounds(top, {0, 0, 200, 40});
  expectBounds(bottom, {0, 281, 200, 19});
  expectBounds(fill, {0, 40, 200, 241});
  form.SetClientSize(300, 200);
  expectBounds(top, {0, 0, 300, 40});
  expectBounds(bottom, {0, 181, 300, 19});
  expectBounds(fill, {0, 40, 300, 141});
}

TEST(ControlLayout, BevelsInsetAlignedChildren) {
  ui::Form form({.clientWidth = 200, .clientHeight = 200});
  ui::Panel outer(
      {.parent = &form, .align = ui::Align::Client, .bevelOuter = ui::Bevel::Lowered, .bevelInner = ui::Bevel::Raised});
  ui::Panel inner({.parent = &outer, .align = ui::Align::Client, .bevelOuter = ui::Bevel::None});
  EXPECT_EQ(inner.Left(), 2);
  EXPECT_EQ(inner.Width(), 196);
}

TEST(ControlFont, ChildrenInheritTheFormsFontUnlessTheyHaveTheirOwn) {
  ui::Form form({.font = {.face = u8"ＭＳ Ｐゴシック", .height = 12, .charset = SHIFTJIS_CHARSET}});
  ui::CheckBox inherits({.parent = &form});
  ui::CheckBox own({.parent = &form, .top = 20});
  own.SetFont({.face = u8"ＭＳ ゴシック", .height = 16, .charset = SHIFTJIS_CHARSET});
  const auto font = [](HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); };
  EXPECT_EQ(font(inherits.Handle()), form.CurrentFont());
  EXPECT_NE(font(own.Handle()), form.CurrentFont());
  LOGFONTW logical{};
  GetObjectW(font(own.Handle()), sizeof logical, &logical);
  EXPECT_EQ(logical.lfHeight, -16);
  EXPECT_EQ(logical.lfCharSet, SHIFTJIS_CHARSET);
  form.RecreateWindow();
  EXPECT_EQ(font(inherits.Handle()), form.CurrentFont());
  EXPECT_EQ(font(own.Handle()), own.CurrentFont());
}

TEST(ControlOrder, TabOrderSetsTheSiblingsWindowOrder) {
  ui::Form form;
  ui::CheckBox a({.parent = &form, .caption = u8"a"});
  ui::CheckBox b({.parent = &form, .caption = u8"b", .top = 20});
  ui::CheckBox c({.parent = &form, .caption = u8"c", .top = 40, .tabOrder = 0});
  const HWND firstChild = GetWindow(form.Handle(), GW_CHILD);
  EXPECT_EQ(firstChild, c.Handle());
  EXPECT_EQ(GetWindow(firstChild, GW_HWNDNEXT), a.Handle());
  EXPECT_EQ(GetNextDlgTabItem(form.Handle(), c.Handle(), FALSE), a.Handle());
}

TEST(ControlOrder, DesignOrderHoldsWhateverTheOrderOfConstruction) {
  // Part of the main window's options: tab order 0, 13, 4, 10, then a label, 8.
  ui::Form form;
  ui::CheckBox autoSave({.parent = &form, .tabOrder = 0});
  ui::CheckBox dirList({.parent = &form, .tabOrder = 13});
  ui::CheckBox recursive({.parent = &form, .tabOrder = 4});
  ui::CheckBox idle({.parent = &form, .tabOrder = 10});
  ui::Label label({.parent = &form});
  ui::CheckBox extension({.parent = &form, .tabOrder = 8});
  std::vector<HWND> stops;
  for (HWND child = GetWindow(form.Handle(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (child != label.Handle()) stops.push_back(child);
  }
  const std::vector<HWND> expected{autoSave.Handle(), recursive.Handle(), extension.Handle(), idle.Handle(),
                                   dirList.Handle()};
  EXPECT_EQ(stops, expected);
  form.RecreateWindow();
  EXPECT_EQ(GetNextDlgTabItem(form.Handle(), recursive.Handle(), FALSE), extension.Handle());
}

TEST(ControlState, DisabledAndHiddenReachTheWindow) {
  ui::Form form;
  ui::Panel panel({.parent = &form, .caption = u8"比較"});
  panel.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(panel.Handle()));
  panel.SetVisible(false);
  EXPECT_FALSE(GetWindowLongPtrW(panel.Handle(), GWL_STYLE) & WS_VISIBLE);
  panel.RecreateWindow();
  EXPECT_FALSE(IsWindowEnabled(panel.Handle()));
  EXPECT_FALSE(GetWindowLongPtrW(panel.Handle(), GWL_STYLE) & WS_VISIBLE);
  panel.SetCaption(u8"処理中");
  EXPECT_EQ(WindowText(panel.Handle()), L"処理中");
  EXPECT_EQ(panel.Caption(), "\xE5\x87\xA6\xE7\x90\x86\xE4\xB8\xAD");  // 処理中
}

}  // namespace
