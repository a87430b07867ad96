// The main window as Windows sees it: layout, font, states and tab order read back from the real
// windows, the hash buttons and Esc driven by real input.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/calc_form.h"
#include "app/calc_view_form.h"
#include "app/compare_form.h"
#include "app/main_form.h"
#include "app/program_fixture.h"
#include "e2e/test_win32.h"
#include "ui/application.h"
#include "ui/text.h"

namespace {

using apptest::PumpMessages;

std::wstring WindowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

// The width of a window's text in its own font.
int TextWidth(HWND window) {
  std::wstring text = WindowText(window);
  HDC dc = GetDC(window);
  HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(dc, previous);
  ReleaseDC(window, dc);
  return extent.cx;
}

// A child's rectangle in the client coordinates of `parent`.
RECT RectIn(HWND child, HWND parent) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    apptest::ResetProgramForms();
    main_ = MainForm;
  }
  void TearDown() override { apptest::ResetProgramForms(); }

  void ShowPage(int index) {
    main_->Show();
    main_->PageControl.SetActivePageIndex(index);
    PumpMessages();
  }

  TMainForm* main_ = nullptr;
};

TEST_F(MainWindowTest, FrameCaptionAndClientArea) {
  HWND window = main_->Handle();
  EXPECT_EQ(WindowText(window), L"Ruvo 0.14h");
  LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME) << "fixed single border";
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 152);
  EXPECT_EQ(client.bottom, 272);
  RECT frame{};
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.left, 0);
  EXPECT_EQ(frame.top, 0);
}

TEST_F(MainWindowTest, ControlsUseTheShiftJisUiFont) {
  const auto fontOf = [](HWND control) {
    LOGFONTW log{};
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    EXPECT_NE(font, nullptr);
    EXPECT_NE(GetObjectW(font, sizeof log, &log), 0);
    return log;
  };
  HWND controls[] = {main_->DirListCheckBox.Handle(), main_->DefaultExtCRCEdit.Handle(),
                     main_->UpperCaseLabel.Handle()};
  for (HWND control : controls) {
    const LOGFONTW log = fontOf(control);
    EXPECT_STREQ(log.lfFaceName, L"ＭＳ Ｐゴシック");
    EXPECT_EQ(log.lfHeight, -12);
    EXPECT_EQ(log.lfCharSet, SHIFTJIS_CHARSET);
  }
  // The hash buttons take the same font, a smaller size of it only where four captions would not
  // fit their row otherwise; all four the same size.
  const LONG buttonHeight = fontOf(main_->CalcCRC16Button.Handle()).lfHeight;
  EXPECT_LE(buttonHeight, -9);
  EXPECT_GE(buttonHeight, -12);
  for (ui::Button* button :
       {&main_->CalcCRC16Button, &main_->CalcCRC32Button, &main_->CalcMD5Button, &main_->CalcSHA256Button}) {
    const LOGFONTW log = fontOf(button->Handle());
    EXPECT_STREQ(log.lfFaceName, L"ＭＳ Ｐゴシック");
    EXPECT_EQ(log.lfHeight, buttonHeight);
    EXPECT_EQ(log.lfCharSet, SHIFTJIS_CHARSET);
  }
}

TEST_F(MainWindowTest, TabsAndDropPanels) {
  ShowPage(0);
  HWND tabs = main_->PageControl.Handle();
  ASSERT_EQ(TabCtrl_GetItemCount(tabs), 2);
  const wchar_t* captions[] = {L"D&&D", L"設定"};
  for (int i = 0; i < 2; ++i) {
    wchar_t text[32] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 32;
    TabCtrl_GetItem(tabs, i, &item);
    EXPECT_STREQ(text, captions[i]);
  }
  RECT tabsRect = RectIn(tabs, main_->Handle());
  EXPECT_EQ(tabsRect.right - tabsRect.left, 152);
  EXPECT_EQ(tabsRect.bottom - tabsRect.top, 272);

  HWND sheet = main_->DragDropTabSheet.Handle();
  struct PanelCase {
    ui::Panel* panel;
    const wchar_t* caption;
    RECT rect;
  };
  // The creation panel sits on the sheet's bottom edge (top 125 when the tabs are as high as on
  // Windows; the tab row's height is the system's).
  RECT sheetRect{};
  GetClientRect(sheet, &sheetRect);
  EXPECT_EQ(sheetRect.right, 144);
  EXPECT_NEAR(sheetRect.bottom, 245, 1);
  const PanelCase panels[] = {{&main_->ComparePanel, L"比較", {0, 0, 144, 120}},
                              {&main_->CalcPanel, L"作成", {0, sheetRect.bottom - 120, 144, sheetRect.bottom}}};
  for (const PanelCase& c : panels) {
    SCOPED_TRACE(c.caption);
    HWND panel = c.panel->Handle();
    EXPECT_EQ(WindowText(panel), c.caption);
    RECT rect = RectIn(panel, sheet);
    EXPECT_EQ(rect.left, c.rect.left);
    EXPECT_EQ(rect.top, c.rect.top);
    EXPECT_EQ(rect.right, c.rect.right);
    EXPECT_EQ(rect.bottom, c.rect.bottom);
    EXPECT_TRUE(IsWindowEnabled(panel));
    EXPECT_EQ(c.panel->BevelInner(), ui::Bevel::Raised);
    EXPECT_EQ(c.panel->BevelOuter(), ui::Bevel::Lowered);
  }

  struct ButtonCase {
    ui::Button* button;
    const wchar_t* caption;
    bool down;
  };
  const ButtonCase buttons[] = {{&main_->CalcCRC16Button, L"CRC16", false},
                                {&main_->CalcCRC32Button, L"CRC32", true},
                                {&main_->CalcMD5Button, L"MD5", false},
                                {&main_->CalcSHA256Button, L"SHA256", false}};
  // The four share one row inside the panel's bevels, in this order, without overlapping; each is
  // wide enough for its caption (edges and the sunken shift included).
  int previousRight = 2;
  for (const ButtonCase& c : buttons) {
    SCOPED_TRACE(c.caption);
    HWND button = c.button->Handle();
    EXPECT_EQ(WindowText(button), c.caption);
    RECT rect = RectIn(button, main_->CalcPanel.Handle());
    EXPECT_GE(rect.left, previousRight);
    EXPECT_LE(rect.right, 142);
    previousRight = rect.right;
    EXPECT_GE(rect.right - rect.left, TextWidth(button) + 3);
    EXPECT_EQ(rect.top, 96);
    EXPECT_EQ(rect.bottom - rect.top, 22);
    EXPECT_EQ(c.button->Down(), c.down);
    // The group is one tab stop: the pressed button.
    EXPECT_EQ((GetWindowLongW(button, GWL_STYLE) & WS_TABSTOP) != 0, c.down);
  }
}

TEST_F(MainWindowTest, PreferencesLayoutAndInitialStates) {
  ShowPage(1);
  TMainForm& m = *main_;
  struct Row {
    ui::Control* control;
    const wchar_t* text;
    int left, top, width, height;
    int checked;
  };
  const Row rows[] = {
      {&m.AutoSaveDirCheckBox, L"自動保存 - ディレクトリ", 0, 0, 137, 17, BST_UNCHECKED},
      {&m.AutoSaveFileCheckBox, L"自動保存 - ファイル", 0, 16, 121, 17, BST_UNCHECKED},
      {&m.AutoSaveForceOverwriteCheckBox, L"自動保存時強制上書き", 0, 32, 137, 17, BST_UNCHECKED},
      {&m.AutoSaveCloseCheckBox, L"自動保存後閉じる", 0, 48, 113, 17, BST_UNCHECKED},
      {&m.DirListCheckBox, L"ディレクトリ毎にリスト", 0, 64, 137, 17, BST_CHECKED},
      {&m.DirRecursiveCheckBox, L"ディレクトリ再帰的検索", 0, 80, 137, 17, BST_UNCHECKED},
      {&m.ShowProcessCheckBox, L"処理状況表示", 0, 96, 97, 17, BST_CHECKED},
      {&m.DoneBeepCheckBox, L"処理完了時Beep", 0, 112, 105, 17, BST_CHECKED},
      {&m.StayOnTopCheckBox, L"最前面表示", 0, 128, 81, 17, BST_UNCHECKED},
      {&m.IdlePriorityCheckBox, L"優先度を下げる", 0, 144, 105, 17, BST_UNCHECKED},
      {&m.MD5BinaryModeCheckBox, L"md5sum -b 互換出力", 0, 160, 137, 17, BST_UNCHECKED},
      {&m.UpperCaseLabel, L"大文字", 0, 178, 36, 12, -1},
      {&m.UpperCRCCheckBox, L"CRC", 40, 176, 49, 17, BST_CHECKED},
      {&m.UpperMD5CheckBox, L"MD5", 88, 176, 49, 17, BST_UNCHECKED},
      {&m.DefaultExtCRCLabel, L"標準CRC拡張子", 0, 200, 84, 12, -1},
      {&m.DefaultExtCRCEdit, L"crc", 88, 196, 49, 20, -1},
      {&m.DefaultExtMD5Label, L"標準MD5拡張子", 0, 224, 83, 12, -1},
      {&m.DefaultExtMD5Edit, L"md5", 87, 220, 49, 20, -1},
  };
  HWND sheet = m.PreferencesTabSheet.Handle();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    HWND window = row.control->Handle();
    EXPECT_EQ(GetParent(window), sheet);
    EXPECT_EQ(WindowText(window), row.text);
    RECT rect = RectIn(window, sheet);
    EXPECT_EQ(rect.left, row.left);
    EXPECT_EQ(rect.top, row.top);
    if (row.checked >= 0 || row.control == &m.DefaultExtCRCEdit || row.control == &m.DefaultExtMD5Edit) {
      EXPECT_EQ(rect.right - rect.left, row.width);
    } else {
      // A label is as wide as designed, or wider where the substitute font needs it.
      EXPECT_GE(rect.right - rect.left, row.width);
      EXPECT_GE(rect.right - rect.left, TextWidth(window));
    }
    EXPECT_EQ(rect.bottom - rect.top, row.height);
    if (row.checked >= 0) {
      EXPECT_EQ(SendMessageW(window, BM_GETCHECK, 0, 0), row.checked);
    }
  }
}

TEST_F(MainWindowTest, TabKeyOrderOfThePreferences) {
  ShowPage(1);
  TMainForm& m = *main_;
  const ui::Control* expected[] = {&m.AutoSaveDirCheckBox,   &m.AutoSaveFileCheckBox, &m.AutoSaveForceOverwriteCheckBox,
                                   &m.AutoSaveCloseCheckBox, &m.DirRecursiveCheckBox, &m.ShowProcessCheckBox,
                                   &m.DoneBeepCheckBox,      &m.StayOnTopCheckBox,    &m.DefaultExtCRCEdit,
                                   &m.DefaultExtMD5Edit,     &m.IdlePriorityCheckBox, &m.UpperCRCCheckBox,
                                   &m.UpperMD5CheckBox,      &m.DirListCheckBox,      &m.MD5BinaryModeCheckBox};
  HWND sheet = m.PreferencesTabSheet.Handle();
  HWND current = expected[0]->HandleIfAllocated();
  for (size_t i = 1; i < std::size(expected); ++i) {
    current = GetNextDlgTabItem(sheet, current, FALSE);
    EXPECT_EQ(current, expected[i]->HandleIfAllocated()) << "tab stop " << i;
  }
  // After the last one the order wraps to the first.
  EXPECT_EQ(GetNextDlgTabItem(sheet, current, FALSE), expected[0]->HandleIfAllocated());
}

TEST_F(MainWindowTest, HashButtonsFormOneExclusiveGroupUnderRealClicks) {
  ShowPage(0);
  TMainForm& m = *main_;
  struct Step {
    ui::Button* click;
    THashType expected;
  };
  const Step steps[] = {{&m.CalcSHA256Button, THashType::SHA256}, {&m.CalcSHA256Button, THashType::SHA256},
                        {&m.CalcMD5Button, THashType::MD5},       {&m.CalcMD5Button, THashType::MD5},
                        {&m.CalcCRC16Button, THashType::CRC16},   {&m.CalcCRC32Button, THashType::CRC32},
                        {&m.CalcCRC32Button, THashType::CRC32}};
  for (const Step& step : steps) {
    apptest::ClickWindow(step.click->Handle());
    EXPECT_EQ(m.GetHashType(), step.expected);
    int down = m.CalcCRC16Button.Down() + m.CalcCRC32Button.Down() + m.CalcMD5Button.Down() + m.CalcSHA256Button.Down();
    EXPECT_EQ(down, 1) << "exactly one button is down";
    // What Windows and screen readers ask the buttons themselves.
    for (ui::Button* button : {&m.CalcCRC16Button, &m.CalcCRC32Button, &m.CalcMD5Button, &m.CalcSHA256Button}) {
      SCOPED_TRACE(button->Text());
      const LRESULT expected = button == step.click ? BST_CHECKED : BST_UNCHECKED;
      EXPECT_EQ(SendMessageW(button->Handle(), BM_GETCHECK, 0, 0), expected);
      EXPECT_EQ(SendMessageW(button->Handle(), BM_GETSTATE, 0, 0) & BST_CHECKED, expected);
    }
  }
}

// A keyboard user chooses the kind: Tab reaches the group at its pressed button, the arrow keys
// press the next or previous one (wrapping around), as among radio buttons.
TEST_F(MainWindowTest, HashKindByKeyboard) {
  ShowPage(0);
  TMainForm& m = *main_;
  ui::Button* const hashButtons[] = {&m.CalcCRC16Button, &m.CalcCRC32Button, &m.CalcMD5Button, &m.CalcSHA256Button};
  // The window's tab cycle through the focused control.
  const auto tabStops = [&] {
    std::vector<HWND> stops;
    const HWND first = GetFocus();
    for (HWND stop = first; stop != nullptr && stops.size() < 50;) {
      stops.push_back(stop);
      stop = GetNextDlgTabItem(m.Handle(), stop, FALSE);
      if (stop == first) break;
    }
    return stops;
  };
  apptest::ClickWindow(m.CalcCRC32Button.Handle());
  ASSERT_TRUE(m.CalcCRC32Button.Focused());
  struct Step {
    WORD key;
    THashType kind;
    ui::Button* focused;
  };
  const Step steps[] = {{VK_RIGHT, THashType::MD5, &m.CalcMD5Button},
                        {VK_RIGHT, THashType::SHA256, &m.CalcSHA256Button},
                        {VK_DOWN, THashType::CRC16, &m.CalcCRC16Button},
                        {VK_LEFT, THashType::SHA256, &m.CalcSHA256Button},
                        {VK_UP, THashType::MD5, &m.CalcMD5Button}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.focused->Text());
    apptest::PressKey(step.key);
    EXPECT_EQ(m.GetHashType(), step.kind);
    EXPECT_TRUE(step.focused->Focused());
    // Of the group, only the pressed button is in the window's tab cycle.
    const std::vector<HWND> stops = tabStops();
    for (ui::Button* button : hashButtons) {
      EXPECT_EQ(std::count(stops.begin(), stops.end(), button->Handle()), button == step.focused ? 1 : 0)
          << button->Text();
    }
  }
}

// The drop tab by keyboard alone, with real Tab keys: the two panels, then the hash group at its
// pressed button, the row of tabs, and round again; Shift+Tab the same way back.
TEST_F(MainWindowTest, TabKeyOrderOfTheDropTab) {
  ShowPage(0);
  TMainForm& m = *main_;
  for (ui::Button* pressed : {&m.CalcCRC32Button, &m.CalcSHA256Button}) {
    SCOPED_TRACE(pressed->Text());
    pressed->Click();
    SetForegroundWindow(m.Handle());
    m.ComparePanel.SetFocus();
    PumpMessages();
    const ui::Control* forward[] = {&m.CalcPanel, pressed, &m.PageControl, &m.ComparePanel};
    for (const ui::Control* next : forward) {
      apptest::PressKey(VK_TAB);
      EXPECT_EQ(GetFocus(), next->HandleIfAllocated()) << "Tab to " << next->Text();
    }
    const ui::Control* backward[] = {&m.PageControl, pressed, &m.CalcPanel, &m.ComparePanel};
    for (const ui::Control* previous : backward) {
      apptest::PressKey(VK_TAB, true);
      EXPECT_EQ(GetFocus(), previous->HandleIfAllocated()) << "Shift+Tab to " << previous->Text();
    }
  }
}

// The tabs by keyboard from wherever the focus is, with real keys: Ctrl+Tab and Ctrl+PageDown
// onwards, Ctrl+Shift+Tab and Ctrl+PageUp back, wrapping around; a focus on the page that goes
// away moves to the row of tabs. While a run hides "設定", the keys do nothing.
TEST_F(MainWindowTest, TabsSwitchByKeyboard) {
  ShowPage(0);
  TMainForm& m = *main_;
  struct Step {
    WORD key;
    bool shift;
    int page;
  };
  const Step steps[] = {{VK_TAB, false, 1}, {VK_TAB, false, 0}, {VK_NEXT, false, 1},  {VK_NEXT, false, 0},
                        {VK_TAB, true, 1},  {VK_TAB, true, 0},  {VK_PRIOR, false, 1}, {VK_PRIOR, false, 0}};
  for (ui::Control* start : {static_cast<ui::Control*>(&m.ComparePanel), static_cast<ui::Control*>(&m.PageControl)}) {
    ShowPage(0);
    apptest::ClickWindow(m.Handle());
    start->SetFocus();
    PumpMessages();
    for (const Step& step : steps) {
      SCOPED_TRACE(testing::Message() << "key " << step.key << (step.shift ? " with Shift" : "") << " to page "
                                      << step.page);
      apptest::PressKey(step.key, step.shift, true);
      EXPECT_EQ(m.PageControl.ActivePageIndex(), step.page);
      EXPECT_EQ(TabCtrl_GetCurSel(m.PageControl.Handle()), step.page);
      const HWND focus = GetFocus();
      EXPECT_TRUE(focus == m.PageControl.Handle() || IsChild(m.PageControl.Page(step.page).Handle(), focus))
          << "the focus stays where the user sees it";
    }
  }
  m.PreferencesTabSheet.SetTabVisible(false);
  apptest::PressKey(VK_TAB, false, true);
  EXPECT_EQ(m.PageControl.ActivePageIndex(), 0) << "one tab: nowhere to go";
  m.PreferencesTabSheet.SetTabVisible(true);
}

// The options tab by keyboard alone: Tab from the row of tabs through every option in its order
// and back to the row; Shift+Tab the same way back.
TEST_F(MainWindowTest, TabKeyOrderOfTheOptionsTab) {
  ShowPage(1);
  TMainForm& m = *main_;
  apptest::ClickWindow(m.Handle());
  m.PageControl.SetFocus();
  PumpMessages();
  const ui::Control* order[] = {&m.AutoSaveDirCheckBox,
                                &m.AutoSaveFileCheckBox,
                                &m.AutoSaveForceOverwriteCheckBox,
                                &m.AutoSaveCloseCheckBox,
                                &m.DirRecursiveCheckBox,
                                &m.ShowProcessCheckBox,
                                &m.DoneBeepCheckBox,
                                &m.StayOnTopCheckBox,
                                &m.DefaultExtCRCEdit,
                                &m.DefaultExtMD5Edit,
                                &m.IdlePriorityCheckBox,
                                &m.UpperCRCCheckBox,
                                &m.UpperMD5CheckBox,
                                &m.DirListCheckBox,
                                &m.MD5BinaryModeCheckBox,
                                &m.PageControl};
  for (const ui::Control* next : order) {
    apptest::PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), next->HandleIfAllocated()) << "Tab to " << next->Text();
  }
  for (auto previous = std::next(std::rbegin(order)); previous != std::rend(order); ++previous) {
    apptest::PressKey(VK_TAB, true);
    EXPECT_EQ(GetFocus(), (*previous)->HandleIfAllocated()) << "Shift+Tab to " << (*previous)->Text();
  }
  apptest::PressKey(VK_TAB, true);
  EXPECT_EQ(GetFocus(), m.PageControl.Handle()) << "and round to the row of tabs";
  // From the row of tabs the arrow keys change the page, as in any tab control.
  apptest::PressKey(VK_LEFT);
  EXPECT_EQ(m.PageControl.ActivePageIndex(), 0);
}

TEST_F(MainWindowTest, SetHashTypePressesOnlyForKnownKinds) {
  struct Case {
    THashType before;
    std::uint8_t set;
    THashType after;
  };
  const Case cases[] = {{THashType::CRC32, 0, THashType::CRC16},   {THashType::CRC16, 1, THashType::CRC32},
                        {THashType::CRC32, 2, THashType::MD5},     {THashType::MD5, 3, THashType::SHA256},
                        {THashType::CRC16, 4, THashType::CRC16},   {THashType::MD5, 0xFF, THashType::MD5},
                        {THashType::SHA256, 4, THashType::SHA256}, {THashType::SHA256, 5, THashType::SHA256},
                        {THashType::SHA256, 2, THashType::MD5},    {THashType::MD5, 10, THashType::BLAKE3},
                        {THashType::BLAKE3, 3, THashType::SHA256}};
  for (const Case& c : cases) {
    main_->SetHashType(c.before);
    main_->SetHashType(static_cast<THashType>(c.set));
    EXPECT_EQ(main_->GetHashType(), c.after) << "set " << int{c.set};
  }
}

TEST_F(MainWindowTest, EscClosesTheMainWindowAndEndsTheLoop) {
  // Esc works wherever the focus is in the window: on the drop tab and inside an edit box.
  struct Case {
    int page;
    ui::Control* click;
  };
  const Case cases[] = {{0, &main_->ComparePanel}, {1, &main_->DefaultExtCRCEdit}};
  for (const Case& c : cases) {
    ShowPage(c.page);
    apptest::ClickWindow(c.click->Handle());  // the window gets the foreground and the focus
    ASSERT_TRUE(IsWindowVisible(main_->Handle()));
    ASSERT_FALSE(ui::App().Terminated());
    apptest::PressKey(VK_ESCAPE);
    EXPECT_FALSE(IsWindowVisible(main_->Handle())) << "page " << c.page;
    EXPECT_TRUE(ui::App().Terminated()) << "closing the main window ends the message loop";
    ui::App().ResetTerminated();
  }
}

TEST_F(MainWindowTest, RightClickShowsNoMenu) {
  ShowPage(0);
  // Were the menu to pop up, its modal loop would block here; a timer closes any menu after a
  // while so that the failure reports instead of hanging.
  UINT_PTR timer = SetTimer(nullptr, 0, 500, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
  apptest::ClickWindow(main_->ComparePanel.Handle(), 1);
  HWND menu = FindWindowW(L"#32768", nullptr);
  EXPECT_TRUE(menu == nullptr || !IsWindowVisible(menu));
  KillTimer(nullptr, timer);
  EXPECT_FALSE(ui::App().Terminated());
}

// The fourth button's right-click menu chooses between SHA256 and BLAKE3: the choice is pressed and
// its caption shown, by a real right click and the menu's keys.
TEST_F(MainWindowTest, TheFourthButtonsMenuChoosesSha256OrBlake3) {
  ShowPage(0);
  TMainForm& m = *main_;
  struct Step {
    int downs;  // arrow presses in the menu: 1 SHA256, 2 BLAKE3
    THashType kind;
    const wchar_t* caption;
  };
  const Step steps[] = {
      {2, THashType::BLAKE3, L"BLAKE3"}, {1, THashType::SHA256, L"SHA256"}, {2, THashType::BLAKE3, L"BLAKE3"}};
  static int downs = 0;
  for (const Step& s : steps) {
    m.SetHashType(THashType::CRC32);
    downs = s.downs;
    // Inside the menu's own loop: the keys, and after a while an end to any menu still open.
    const UINT_PTR keys = SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      for (int i = 0; i < downs; ++i) testfiles::SendKeyPress(VK_DOWN);
      testfiles::SendKeyPress(VK_RETURN);
    });
    const UINT_PTR guard = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
    apptest::ClickWindow(m.CalcSHA256Button.Handle(), 1);
    for (int i = 0; i < 50 && m.GetHashType() != s.kind; ++i) {
      Sleep(10);
      apptest::PumpMessages();
    }
    KillTimer(nullptr, keys);
    KillTimer(nullptr, guard);
    EXPECT_EQ(m.GetHashType(), s.kind) << s.downs;
    EXPECT_EQ(m.CalcSHA256Button.WideText(), s.caption);
    EXPECT_TRUE(m.CalcSHA256Button.Down());
  }
  // In code alike; the other buttons leave the choice as it is.
  m.SetHashType(THashType::MD5);
  EXPECT_EQ(m.CalcSHA256Button.WideText(), L"BLAKE3");
  m.SetHashType(THashType::SHA256);
  EXPECT_EQ(m.CalcSHA256Button.WideText(), L"SHA256");
}

TEST_F(MainWindowTest, StayOnTopClickAppliesToAllFourWindows) {
  ShowPage(1);
  ui::Form* const windows[] = {MainForm, CompareForm, CalcForm, CalcViewForm};
  for (bool expected : {true, false}) {
    apptest::ClickWindow(main_->StayOnTopCheckBox.Handle());
    ASSERT_EQ(main_->StayOnTopCheckBox.Checked(), expected);
    for (ui::Form* window : windows) {
      EXPECT_EQ((GetWindowLongW(window->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, expected);
    }
  }
}

TEST_F(MainWindowTest, IdlePriorityClickSetsThePriorityClass) {
  ShowPage(1);
  apptest::ClickWindow(main_->IdlePriorityCheckBox.Handle());
  ASSERT_TRUE(main_->IdlePriorityCheckBox.Checked());
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(IDLE_PRIORITY_CLASS));
  apptest::ClickWindow(main_->IdlePriorityCheckBox.Handle());
  ASSERT_FALSE(main_->IdlePriorityCheckBox.Checked());
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(NORMAL_PRIORITY_CLASS));
}

// What the panels and the tabs look like while a drop handler's run is in progress.
struct BusyLook {
  std::wstring caption;
  bool enabled = true;
  COLORREF color = 0;
  int tabs = 0;
  bool otherEnabled = true;
};

BusyLook LookOf(ui::Panel& panel, ui::Panel& other) {
  return {WindowText(panel.Handle()), IsWindowEnabled(panel.Handle()) != FALSE, panel.FontColor().Resolve(),
          TabCtrl_GetItemCount(MainForm->PageControl.Handle()), IsWindowEnabled(other.Handle()) != FALSE};
}

TEST_F(MainWindowTest, DropHandlersShowTheBusyStateAndRestoreIt) {
  ShowPage(0);
  TMainForm& m = *main_;
  struct Case {
    const char* name;
    ui::Panel* panel;
    ui::Panel* other;
    const wchar_t* idle;
    bool calc;
  };
  const Case cases[] = {{"creation", &m.CalcPanel, &m.ComparePanel, L"作成", true},
                        {"verification", &m.ComparePanel, &m.CalcPanel, L"比較", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BusyLook during;
    std::vector<std::string> received;
    auto entry = [&](std::vector<std::string>& paths) {
      during = LookOf(*c.panel, *c.other);
      received = paths;
    };
    (c.calc ? m.CalcFilesEntry : m.CompareFilesEntry) = entry;
    std::vector<std::string> files = {"C:\\a.txt", "C:\\b"};
    if (c.calc) {
      m.CalcDropDstFileDrop(&m.CalcDropDst, files, 5, 6);
    } else {
      m.CompareDropDstFileDrop(&m.CompareDropDst, files, 5, 6);
    }
    EXPECT_EQ(received, files);
    EXPECT_EQ(during.caption, L"処理中");
    EXPECT_FALSE(during.enabled);
    EXPECT_EQ(during.color, GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(during.tabs, 1) << "the preferences tab is hidden";
    EXPECT_TRUE(during.otherEnabled);

    BusyLook after = LookOf(*c.panel, *c.other);
    EXPECT_EQ(after.caption, c.idle);
    EXPECT_TRUE(after.enabled);
    EXPECT_EQ(after.color, GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(after.tabs, 2);
  }
}

TEST_F(MainWindowTest, DropHandlerRestoresThePanelWhenTheRunFails) {
  ShowPage(0);
  TMainForm& m = *main_;
  m.CalcFilesEntry = [](std::vector<std::string>&) { throw std::runtime_error("disk full"); };
  std::vector<std::string> files = {"C:\\a.txt"};
  EXPECT_THROW(m.CalcDropDstFileDrop(&m.CalcDropDst, files, 0, 0), std::runtime_error)
      << "the error goes on to the drop target, which reports it";
  BusyLook after = LookOf(m.CalcPanel, m.ComparePanel);
  EXPECT_EQ(after.caption, L"作成");
  EXPECT_TRUE(after.enabled);
  EXPECT_EQ(after.color, GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(after.tabs, 2);
}

// The runs see the options only through this snapshot: each field must follow its own control.
TEST_F(MainWindowTest, TheOptionsSnapshotFollowsEveryControl) {
  TMainForm& m = *main_;
  struct Case {
    ui::CheckBox* box;
    bool TRunOptions::*field;
  };
  const Case cases[] = {
      {&m.AutoSaveDirCheckBox, &TRunOptions::autoSaveDir},
      {&m.AutoSaveFileCheckBox, &TRunOptions::autoSaveFile},
      {&m.AutoSaveForceOverwriteCheckBox, &TRunOptions::autoSaveForceOverwrite},
      {&m.AutoSaveCloseCheckBox, &TRunOptions::autoSaveClose},
      {&m.DirListCheckBox, &TRunOptions::dirList},
      {&m.DirRecursiveCheckBox, &TRunOptions::dirRecursive},
      {&m.ShowProcessCheckBox, &TRunOptions::showProcess},
      {&m.DoneBeepCheckBox, &TRunOptions::doneBeep},
      {&m.MD5BinaryModeCheckBox, &TRunOptions::md5BinaryMode},
      {&m.UpperCRCCheckBox, &TRunOptions::upperCRC},
      {&m.UpperMD5CheckBox, &TRunOptions::upperMD5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box->Caption());
    const bool before = c.box->Checked();
    for (const bool checked : {!before, before}) {
      c.box->SetChecked(checked);
      const TRunOptions options = m.Options();
      EXPECT_EQ(options.*c.field, checked);
      for (const Case& other : cases) {
        if (other.box != c.box) {
          EXPECT_EQ(options.*other.field, other.box->Checked());
        }
      }
    }
  }
  m.DefaultExtCRCEdit.SetText("sfv");
  m.DefaultExtMD5Edit.SetText("txt");
  m.DefaultExtSHA256 = "s2";
  m.DefaultExtBLAKE3 = "b3x";
  struct KindCase {
    THashType kind;
    const char* ext;
  };
  const KindCase kinds[] = {{THashType::CRC16, "sfv"},
                            {THashType::CRC32, "sfv"},
                            {THashType::MD5, "txt"},
                            {THashType::SHA256, "s2"},
                            {THashType::BLAKE3, "b3x"}};
  for (const KindCase& c : kinds) {
    m.SetHashType(c.kind);
    const TRunOptions options = m.Options();
    EXPECT_EQ(options.kind, c.kind);
    EXPECT_EQ(options.DefaultExt(c.kind), c.ext);
  }
}

}  // namespace
