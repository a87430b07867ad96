// The program's windows at the DPI of the screen the process started with: every length designed
// at 96 DPI scaled to it, fonts at their point size (12 pixels at 96 DPI, 18 at 144), and no text
// cut. The whole app_tests run checks them at 96 DPI; ScaledLayoutAt144Dpi runs them again in a
// process of their own, started with the display scale of the Wine prefix at 144 DPI.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/calc_form.h"
#include "app/calc_frame.h"
#include "app/calc_view_form.h"
#include "app/compare_form.h"
#include "app/compare_frame.h"
#include "app/compare_support.h"
#include "app/main_form.h"
#include "app/program_fixture.h"
#include "support/display_scale.h"
#include "ui/dpi.h"
#include "ui/gdi.h"

// After the program's headers: it brings a global "byte" that their parameters would shadow.
#include <richedit.h>

namespace {

using apptest::PumpMessages;

int At(int designed) { return ui::ScaleToDpi(designed, MainForm->Dpi()); }

// The scale a process started by ScaledLayoutAt144Dpi was started with; nothing in others.
std::optional<int> ScaleStartedWith() {
  wchar_t value[16] = {};
  const DWORD length = GetEnvironmentVariableW(L"RUVO_TEST_DPI", value, 16);
  if (length == 0 || length >= 16) return std::nullopt;
  return static_cast<int>(std::wcstol(value, nullptr, 10));
}

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }

int FontHeight(HWND window) {
  LOGFONTW font{};
  if (GetObjectW(FontOf(window), sizeof font, &font) == 0) return 0;
  return -font.lfHeight;
}

// A text's extent in the font of a window.
SIZE Extent(HWND window, std::wstring_view text) {
  const ui::WindowDc dc(window);
  const ui::SelectObjectScope font(dc.get(), FontOf(window));
  SIZE extent{};
  GetTextExtentPoint32W(dc.get(), text.data(), static_cast<int>(text.size()), &extent);
  return extent;
}

RECT RectIn(HWND child, HWND parent) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

SIZE ClientOf(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

// What a check box or a label draws when it has all the room it wants: a twin of it (class,
// style, font, caption), printed into a bitmap three times as wide (a check box keeps its height:
// it centres its caption; a label draws from the top and is three times as high too). The pixels
// that differ from the background give the size of the drawing.
SIZE DrawnSize(HWND window) {
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  const bool label = (style & BS_TYPEMASK) != BS_AUTOCHECKBOX || _wcsicmp(className, L"BUTTON") != 0;
  const SIZE size = ClientOf(window);
  const SIZE room{size.cx * 3, label ? size.cy * 3 : size.cy};
  const HWND twin = CreateWindowExW(0, className, TextOf(window).c_str(), WS_CHILD | (style & 0xFFFF), 0, 0, room.cx,
                                    room.cy, GetParent(window), nullptr, nullptr, nullptr);
  SendMessageW(twin, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(window)), FALSE);
  const ui::WindowDc screen(nullptr);
  const ui::MemoryDcHandle dc(CreateCompatibleDC(screen.get()));
  const ui::BitmapHandle bitmap(CreateCompatibleBitmap(screen.get(), room.cx, room.cy));
  SIZE drawn{0, 0};
  {
    const ui::SelectObjectScope select(dc.get(), bitmap.get());
    SendMessageW(twin, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT | PRF_ERASEBKGND);
    const COLORREF background = GetPixel(dc.get(), room.cx - 1, room.cy - 1);
    for (int y = 0; y < room.cy; ++y) {
      for (int x = 0; x < room.cx; ++x) {
        if (GetPixel(dc.get(), x, y) == background) continue;
        drawn.cx = std::max<LONG>(drawn.cx, x + 1);
        drawn.cy = std::max<LONG>(drawn.cy, y + 1);
      }
    }
  }
  DestroyWindow(twin);
  return drawn;
}

// Every window of the ui layer inside a form, the form's own included.
std::vector<ui::Control*> ControlsOf(ui::Control& root) {
  std::vector<ui::Control*> all{&root};
  for (std::size_t i = 0; i < all.size(); ++i) {
    for (ui::Control* child : all[i]->Children()) all.push_back(child);
  }
  return all;
}

// The fonts of the windows, or for the ui layer's own windows (which keep none) the fonts they
// paint with.
void ExpectFontsAtTheScale(ui::Form& form) {
  for (ui::Control* control : ControlsOf(form)) {
    const HWND window = control->HandleIfAllocated();
    if (window == nullptr || dynamic_cast<ui::Button*>(control) != nullptr) continue;
    LOGFONTW font{};
    GetObjectW(FontOf(window) != nullptr ? FontOf(window) : control->CurrentFont(), sizeof font, &font);
    EXPECT_EQ(-font.lfHeight, At(12)) << ui::Utf8FromWide(TextOf(window));
  }
}

class ScaledLayout : public testing::Test {
 protected:
  void SetUp() override {
    // Not reset first: the windows are checked as the program made them.
    if (const std::optional<int> dpi = ScaleStartedWith()) {
      ASSERT_EQ(MainForm->Dpi(), *dpi);
    }
  }
  void TearDown() override { apptest::ResetProgramForms(); }

  void ShowPage(int index) {
    MainForm->Show();
    MainForm->PageControl.SetActivePageIndex(index);
    PumpMessages();
  }
};

TEST_F(ScaledLayout, MainWindowAtItsDesignedPlacesScaled) {
  TMainForm& m = *MainForm;
  const SIZE client = ClientOf(m.Handle());
  EXPECT_EQ(client.cx, At(152));
  EXPECT_EQ(client.cy, At(272));

  ShowPage(1);
  struct Placed {
    ui::Control* control;
    int left, top, width, height;
  };
  const Placed options[] = {
      {&m.AutoSaveDirCheckBox, 0, 0, 137, 17},
      {&m.AutoSaveFileCheckBox, 0, 16, 121, 17},
      {&m.AutoSaveForceOverwriteCheckBox, 0, 32, 137, 17},
      {&m.AutoSaveCloseCheckBox, 0, 48, 113, 17},
      {&m.DirListCheckBox, 0, 64, 137, 17},
      {&m.DirRecursiveCheckBox, 0, 80, 137, 17},
      {&m.ShowProcessCheckBox, 0, 96, 97, 17},
      {&m.DoneBeepCheckBox, 0, 112, 105, 17},
      {&m.StayOnTopCheckBox, 0, 128, 81, 17},
      {&m.IdlePriorityCheckBox, 0, 144, 105, 17},
      {&m.MD5BinaryModeCheckBox, 0, 160, 137, 17},
      {&m.UpperCaseLabel, 0, 178, 36, 12},
      {&m.UpperCRCCheckBox, 40, 176, 49, 17},
      {&m.UpperMD5CheckBox, 88, 176, 49, 17},
      {&m.DefaultExtCRCLabel, 0, 200, 84, 12},
      {&m.DefaultExtCRCEdit, 88, 196, 49, 20},
      {&m.DefaultExtMD5Label, 0, 224, 83, 12},
      {&m.DefaultExtMD5Edit, 87, 220, 49, 20},
  };
  const HWND sheet = m.PreferencesTabSheet.Handle();
  for (const Placed& placed : options) {
    SCOPED_TRACE(placed.control->Text());
    const RECT rect = RectIn(placed.control->Handle(), sheet);
    EXPECT_EQ(rect.left, At(placed.left));
    EXPECT_EQ(rect.top, At(placed.top));
    EXPECT_EQ(rect.bottom - rect.top, At(placed.height));
    if (dynamic_cast<ui::Label*>(placed.control) != nullptr) {
      EXPECT_GE(rect.right - rect.left, At(placed.width));  // or as wide as its text
    } else {
      EXPECT_EQ(rect.right - rect.left, At(placed.width));
    }
  }

  ShowPage(0);
  const SIZE area = ClientOf(m.DragDropTabSheet.Handle());
  const RECT compare = RectIn(m.ComparePanel.Handle(), m.DragDropTabSheet.Handle());
  EXPECT_EQ(compare.top, 0);
  EXPECT_EQ(compare.bottom - compare.top, At(120));
  const RECT calc = RectIn(m.CalcPanel.Handle(), m.DragDropTabSheet.Handle());
  EXPECT_EQ(calc.bottom, area.cy);
  EXPECT_EQ(calc.bottom - calc.top, At(120));
  // The hash buttons share their row inside the panel's bevels.
  int previousRight = At(2);
  for (ui::Button* button : {&m.CalcCRC16Button, &m.CalcCRC32Button, &m.CalcMD5Button, &m.CalcSHA256Button}) {
    SCOPED_TRACE(button->Text());
    const RECT rect = RectIn(button->Handle(), m.CalcPanel.Handle());
    EXPECT_GE(rect.left, previousRight);
    EXPECT_LE(rect.right, At(142));
    EXPECT_EQ(rect.top, At(96));
    EXPECT_EQ(rect.bottom - rect.top, At(22));
    previousRight = rect.right;
    // The window's font, or a smaller size of it, the same for all four.
    EXPECT_EQ(FontHeight(button->Handle()), FontHeight(m.CalcCRC16Button.Handle()));
    EXPECT_LE(FontHeight(button->Handle()), At(12));
    EXPECT_GE(FontHeight(button->Handle()), At(9));
  }
  ExpectFontsAtTheScale(m);
}

TEST_F(ScaledLayout, NoTextOfTheMainWindowIsCut) {
  TMainForm& m = *MainForm;
  // At 96 DPI the check boxes keep the widths designed for the original UI font, which the
  // substitute under Wine draws wider in one place ("処理完了時Beep", by two pixels).
  const bool scaled = m.Dpi() != ui::kDesignDpi;
  ShowPage(1);
  for (ui::CheckBox* box :
       {&m.AutoSaveDirCheckBox, &m.AutoSaveFileCheckBox, &m.AutoSaveForceOverwriteCheckBox, &m.AutoSaveCloseCheckBox,
        &m.DirListCheckBox, &m.DirRecursiveCheckBox, &m.ShowProcessCheckBox, &m.DoneBeepCheckBox, &m.StayOnTopCheckBox,
        &m.IdlePriorityCheckBox, &m.MD5BinaryModeCheckBox, &m.UpperCRCCheckBox, &m.UpperMD5CheckBox}) {
    SCOPED_TRACE(box->Text());
    const HWND window = box->Handle();
    if (scaled) {
      EXPECT_LE(DrawnSize(window).cx, ClientOf(window).cx);
    }
    EXPECT_LE(Extent(window, TextOf(window)).cy, ClientOf(window).cy);
  }
  for (ui::Label* label : {&m.UpperCaseLabel, &m.DefaultExtCRCLabel, &m.DefaultExtMD5Label}) {
    SCOPED_TRACE(label->Text());
    const HWND window = label->Handle();
    const SIZE drawn = DrawnSize(window);
    EXPECT_LE(drawn.cx, ClientOf(window).cx);
    EXPECT_LE(drawn.cy, ClientOf(window).cy);
  }
  for (ui::Edit* edit : {&m.DefaultExtCRCEdit, &m.DefaultExtMD5Edit}) {
    EXPECT_LE(Extent(edit->Handle(), L"md5").cx, ClientOf(edit->Handle()).cx);
    EXPECT_LE(Extent(edit->Handle(), L"md5").cy, ClientOf(edit->Handle()).cy);
  }

  ShowPage(0);
  // An owner-drawn hash button draws its caption inside one-pixel edges, shifted a pixel when down.
  for (ui::Button* button : {&m.CalcCRC16Button, &m.CalcCRC32Button, &m.CalcMD5Button, &m.CalcSHA256Button}) {
    SCOPED_TRACE(button->Text());
    const SIZE extent = Extent(button->Handle(), TextOf(button->Handle()));
    EXPECT_LE(extent.cx + 3, button->Width());
    EXPECT_LE(extent.cy + 3, button->Height());
  }
  // A drop panel shows its caption, or "処理中" while busy, inside its bevels.
  for (ui::Panel* panel : {&m.ComparePanel, &m.CalcPanel}) {
    for (const wchar_t* caption : {L"比較", L"作成", L"処理中"}) {
      const SIZE extent = Extent(panel->Handle(), caption);
      EXPECT_LE(extent.cx + 4, panel->Width());
      EXPECT_LE(extent.cy + 4, panel->Height());
    }
  }
  const HWND tabs = m.PageControl.Handle();
  for (int i = 0; i < TabCtrl_GetItemCount(tabs); ++i) {
    RECT item{};
    TabCtrl_GetItemRect(tabs, i, &item);
    const SIZE extent = Extent(tabs, i == 0 ? L"D&D" : L"設定");
    EXPECT_LE(extent.cx, item.right - item.left) << "tab " << i;
    EXPECT_LE(extent.cy, item.bottom - item.top) << "tab " << i;
  }
}

// Where every window of a form is and the height of the font it shows.
struct Look {
  HWND window;
  int left, top, right, bottom;
  int fontHeight;
  bool operator==(const Look&) const = default;
};

std::vector<Look> LookOf(ui::Form& form) {
  std::vector<Look> looks;
  for (ui::Control* control : ControlsOf(form)) {
    const HWND window = control->Handle();
    LOGFONTW font{};
    GetObjectW(FontOf(window) != nullptr ? FontOf(window) : control->CurrentFont(), sizeof font, &font);
    const RECT place = control == &form ? RECT{} : RectIn(window, GetParent(window));
    looks.push_back({window, place.left, place.top, place.right, place.bottom, -font.lfHeight});
  }
  return looks;
}

void PrintTo(const Look& look, std::ostream* out) {
  *out << ui::Utf8FromWide(TextOf(look.window)) << " (" << look.left << ", " << look.top << ", " << look.right << ", "
       << look.bottom << ") font " << look.fontHeight;
}

// What Windows sends when the window comes to a monitor of another DPI, with the rectangle it
// suggests: here the same frame around the client area scaled.
void MoveToMonitorOfDpi(ui::Form& form, int dpi) {
  RECT window{}, client{};
  GetWindowRect(form.Handle(), &window);
  GetClientRect(form.Handle(), &client);
  const int frameWidth = (window.right - window.left) - client.right;
  const int frameHeight = (window.bottom - window.top) - client.bottom;
  RECT suggested{window.left, window.top, window.left + MulDiv(client.right, dpi, form.Dpi()) + frameWidth,
                 window.top + MulDiv(client.bottom, dpi, form.Dpi()) + frameHeight};
  SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  PumpMessages();
}

// Moved to a monitor of one and a half times the DPI and back: laid out anew there, and exactly
// as before once back.
TEST_F(ScaledLayout, MainWindowMovedToAMonitorOfAnotherDpiAndBack) {
  TMainForm& m = *MainForm;
  ShowPage(1);
  const std::vector<Look> before = LookOf(m);
  const int first = m.Dpi();
  const int second = first * 3 / 2;
  const auto there = [&](int designed) { return ui::ScaleToDpi(designed, second); };

  MoveToMonitorOfDpi(m, second);
  EXPECT_EQ(m.Dpi(), second);
  EXPECT_EQ(ClientOf(m.Handle()).cx, there(152));
  const HWND sheet = m.PreferencesTabSheet.Handle();
  const RECT onTop = RectIn(m.StayOnTopCheckBox.Handle(), sheet);
  EXPECT_EQ(onTop.top, there(128));
  EXPECT_EQ(onTop.right - onTop.left, there(81));
  EXPECT_EQ(onTop.bottom - onTop.top, there(17));
  EXPECT_EQ(FontHeight(m.StayOnTopCheckBox.Handle()), there(12));
  const RECT edit = RectIn(m.DefaultExtMD5Edit.Handle(), sheet);
  EXPECT_EQ(edit.left, there(87));
  EXPECT_EQ(edit.top, there(220));
  // Measured again in the new fonts: labels as wide as their texts, the hash buttons in their row.
  for (ui::Label* label : {&m.UpperCaseLabel, &m.DefaultExtCRCLabel, &m.DefaultExtMD5Label}) {
    EXPECT_GE(label->Width(), Extent(label->Handle(), TextOf(label->Handle())).cx) << label->Text();
  }
  ShowPage(0);
  EXPECT_EQ(m.CalcCRC16Button.Left(), there(2));
  EXPECT_LE(m.CalcSHA256Button.Left() + m.CalcSHA256Button.Width(), there(142));
  for (ui::Button* button : {&m.CalcCRC16Button, &m.CalcCRC32Button, &m.CalcMD5Button, &m.CalcSHA256Button}) {
    EXPECT_EQ(button->Top(), there(96));
    EXPECT_GE(button->Width(), Extent(button->Handle(), TextOf(button->Handle())).cx + 3) << button->Text();
  }

  MoveToMonitorOfDpi(m, first);
  ShowPage(1);
  EXPECT_EQ(LookOf(m), before);
}

class ScaledJobWindows : public ScaledLayout {
 protected:
  void SetUp() override {
    ScaledLayout::SetUp();
    MainForm->Beep = [](UINT) {};
    MainForm->PlaySoundFile = [](const std::string&) {};
  }
  void TearDown() override {
    comparetest::ResetCompareForm();
    while (CalcForm->PageCount() > 0) CalcForm->CalcPageControl.RemoveSheet(0);
  }

  // A status bar's panels (right edges; the last one -1) and a page's texts in its first panel.
  static void ExpectStatusBar(const TListPage& page, const std::vector<std::wstring>& states) {
    const HWND bar = page.StatusBar.HandleIfAllocated();
    EXPECT_EQ(page.StatusBar.Height(), At(19));
    int rights[4] = {};
    ASSERT_EQ(SendMessageW(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(rights)), 2);
    EXPECT_EQ(rights[0], At(60));
    for (const std::wstring& state : states) {
      const SIZE extent = Extent(bar, state);
      EXPECT_LE(extent.cx, rights[0]) << ui::Utf8FromWide(state);
      EXPECT_LE(extent.cy, page.StatusBar.Height()) << ui::Utf8FromWide(state);
    }
  }

  // Every cell's text and every column's caption fit their column.
  static void ExpectColumnsHoldTheirTexts(const TListPage& page) {
    const HWND list = page.ListView.HandleIfAllocated();
    const HWND header = ListView_GetHeader(list);
    EXPECT_EQ(FontHeight(header), At(12));
    for (int column = 0; column < page.ListView.ColumnCount(); ++column) {
      const int width = ListView_GetColumnWidth(list, column);
      EXPECT_LE(Extent(header, ui::WideFromUtf8(page.ListView.ColumnCaption(column))).cx + At(12), width);
      for (int row = 0; row < page.ListView.ItemCount(); ++row) {
        wchar_t text[512] = {};
        ListView_GetItemText(list, row, column, text, 512);
        EXPECT_LE(Extent(list, text).cx + At(12), width) << "row " << row << " column " << column;
      }
    }
  }

  apptest::TempFolder folder_;
};

TEST_F(ScaledJobWindows, SizesFontsColumnsAndStatusBars) {
  for (ui::Form* window :
       {static_cast<ui::Form*>(CompareForm), static_cast<ui::Form*>(CalcForm), static_cast<ui::Form*>(CalcViewForm)}) {
    EXPECT_EQ(window->Width(), At(408));
    EXPECT_EQ(window->Height(), At(327));
  }
  EXPECT_EQ(CalcViewForm->Left(), CalcForm->Left() + At(32));
  EXPECT_EQ(CalcViewForm->Top(), CalcForm->Top() + At(32));

  folder_.Write("a.txt", "abc");
  folder_.Write("long file name of the list.txt", "123456789");
  folder_.Write("list.md5",
                "900150983cd24fb0d6963f7d28e17f72 *a.txt\r\n"
                "0123456789abcdef0123456789abcdef *long file name of the list.txt\r\n");
  std::vector<std::string> lists{folder_.File("list.md5")};
  CompareForm->CompareFiles(lists);
  ASSERT_EQ(CompareForm->PageCount(), 1);
  TCompareFrame& verified = *CompareForm->Frame(0);
  ExpectStatusBar(verified, {L"完了", L"キャンセル", L"999/999"});
  ExpectColumnsHoldTheirTexts(verified);
  const auto pictures = reinterpret_cast<HIMAGELIST>(
      SendMessageW(verified.ListView.HandleIfAllocated(), LVM_GETIMAGELIST, LVSIL_STATE, 0));
  int pictureWidth = 0, pictureHeight = 0;
  ImageList_GetIconSize(pictures, &pictureWidth, &pictureHeight);
  EXPECT_EQ(pictureWidth, At(12));
  EXPECT_EQ(pictureHeight, At(12));
  ExpectFontsAtTheScale(*CompareForm);

  std::vector<std::string> files{folder_.File("a.txt"), folder_.File("long file name of the list.txt")};
  CalcForm->CalcFiles(files);
  ASSERT_EQ(CalcForm->PageCount(), 1);
  TCalcFrame& created = *CalcForm->Frame(0);
  ExpectStatusBar(created, {L"完了", L"キャンセル", L"除外あり", L"999/999"});
  ExpectColumnsHoldTheirTexts(created);
  ExpectFontsAtTheScale(*CalcForm);

  CalcViewForm->Render(CalcForm->ActiveDocument());
  CalcViewForm->Show();
  PumpMessages();
  // The rich edit keeps no font but a character format, in points: 12 pixels at 96 DPI are 9 points.
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_SIZE | CFM_FACE;
  SendMessageW(CalcViewForm->RichEdit.Handle(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(format.yHeight, 9 * 20);
}

// The tests above once more, in a process started with the display at 144 DPI.
TEST(ScaledLayoutAt144Dpi, TheWindowsOfAProcessStartedAt144Dpi) {
  if (ScaleStartedWith()) GTEST_SKIP() << "already the process at another scale";
  const testsupport::ScaledRun run = testsupport::RunAtDpi(
      144, testsupport::ThisExecutable() + L" --gtest_color=no --gtest_filter=ScaledLayout.*:ScaledJobWindows.*");
  ASSERT_TRUE(run.started);
  EXPECT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0U) << run.output;
  // Every test ran there, none skipped.
  const std::size_t passed = run.output.find("[  PASSED  ] ");
  ASSERT_NE(passed, std::string::npos) << run.output;
  EXPECT_GT(std::strtol(run.output.c_str() + passed + 13, nullptr, 10), 0) << run.output;
  EXPECT_EQ(run.output.find("[  SKIPPED ]"), std::string::npos) << run.output;
}

}  // namespace
