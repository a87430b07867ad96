// The four windows as a screen reader meets them: every control of the program has a name
// (AccessibleObjectFromWindow, as readers ask), and the names that the captions do not give.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/calc_form.h"
#include "app/calc_frame.h"
#include "app/calc_support.h"
#include "app/calc_view_form.h"
#include "app/compare_form.h"
#include "app/compare_frame.h"
#include "app/compare_support.h"
#include "app/main_form.h"
#include "support/accessibility.h"
#include "ui/text.h"

namespace {

using calctest::kAbc;

// The program's own controls in a window, at any depth (not the windows that a system control
// makes for itself, such as a list's header).
std::vector<ui::Control*> ControlsOf(ui::Form& form) {
  std::vector<ui::Control*> controls;
  EnumChildWindows(
      form.Handle(),
      [](HWND child, LPARAM found) {
        if (ui::Control* control = ui::Control::FromHandle(child)) {
          reinterpret_cast<std::vector<ui::Control*>*>(found)->push_back(control);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&controls));
  return controls;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

class AccessibilityTest : public calctest::CalcTest {
 protected:
  void SetUp() override {
    CalcTest::SetUp();
    comparetest::ResetCompareForm();
  }
  void TearDown() override {
    comparetest::ResetCompareForm();
    CalcTest::TearDown();
  }
};

TEST_F(AccessibilityTest, EveryControlOfTheFourWindowsHasAName) {
  // A creation page with its text view, and a verification page.
  Put("album\\a.txt", kAbc);
  Calc({Root() + "album"});
  CalcForm->MenuViewClick();
  std::vector<std::string> lists{
      Put("l.crc", comparetest::TableList(THashType::CRC32, {{"album\\a.txt", "352441C2", "3"}}))};
  CompareForm->CompareFiles(lists);
  ASSERT_EQ(CalcForm->PageCount(), 1);
  ASSERT_EQ(CompareForm->PageCount(), 1);
  TCalcFrame& calcPage = *CalcForm->Frame(0);
  TCompareFrame& comparePage = *CompareForm->Frame(0);

  ui::Form* const windows[] = {MainForm, CalcForm, CompareForm, CalcViewForm};
  std::size_t named = 0;
  for (ui::Form* window : windows) {
    for (ui::Control* control : ControlsOf(*window)) {
      const HWND handle = control->Handle();
      const AccessibleClient object(handle);
      EXPECT_FALSE(object.Name().empty()) << ClassOf(handle) << " \"" << control->Text() << "\" in " << window->Text();
      ++named;
    }
  }
  EXPECT_GE(named, 38u) << "every window's controls were reached";

  // The names that no caption gives.
  struct Case {
    ui::Control* control;
    const char8_t* name;
  };
  TMainForm& m = *MainForm;
  const Case cases[] = {
      {&m.PageControl, u8"ページ"},
      {&m.DragDropTabSheet, u8"D&D"},
      {&m.CalcSHA256Button, u8"SHA256"},
      {&m.UpperCRCCheckBox, u8"大文字 CRC"},
      {&m.UpperMD5CheckBox, u8"大文字 MD5"},
      {&m.DefaultExtCRCEdit, u8"標準CRC拡張子"},  // the label just before it
      {&m.DefaultExtMD5Edit, u8"標準MD5拡張子"},
      {&CalcForm->CalcPageControl, u8"作成リスト"},
      {&calcPage, u8"album"},  // as its tab
      {&calcPage.ListView, u8"作成結果"},
      {&calcPage.StatusBar, u8"状態"},
      {&CompareForm->ComparePageControl, u8"比較リスト"},
      {&comparePage, u8"l.crc"},
      {&comparePage.ListView, u8"比較結果"},
      {&comparePage.StatusBar, u8"状態"},
      {&CalcViewForm->RichEdit, u8"リストのテキスト"},
  };
  for (const Case& c : cases) {
    const std::wstring expected = ui::TextArg(c.name).Value();
    EXPECT_EQ(AccessibleClient(c.control->Handle()).Name(), expected) << ClassOf(c.control->Handle());
  }
  // The names are not what the controls show.
  EXPECT_EQ(m.DefaultExtCRCEdit.Text(), "crc");
  EXPECT_EQ(m.UpperCRCCheckBox.Caption(), "CRC");
  EXPECT_NE(CalcViewForm->RichEdit.Text().find("a.txt"), std::string::npos);
}

}  // namespace
