// The creation window and the clipboard: a page compared with a pasted digest by Ctrl+V and by
// itself, one row's hash copied alone by Ctrl+Shift+C, and the hash column wide enough for it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/calc_form.h"
#include "app/calc_frame.h"
#include "app/main_form.h"
#include "calc_support.h"
#include "ui/application.h"
#include "ui/clipboard.h"
#include "ui/text.h"

namespace calctest {
namespace {

// SHA-256 of "abc" and of "abd", as sha256sum prints them.
const std::string kAbc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const std::string kAbd = "a52d159f262b2c6ddb724a61840befc36eb30c88877a4030b65cbe86298449c9";

class CalcClipboardTest : public CalcTest {
 protected:
  void SetUp() override {
    CalcTest::SetUp();
    MainForm->SetHashType(THashType::SHA256);
  }
  // A page of the files "1.txt" ("abd") and "2.txt" ("abc"), done.
  const TCalcFrame& TwoFiles() {
    Calc({Put("1.txt", "abd"), Put("2.txt", "abc")});
    beeps.clear();
    return *CalcForm->ActiveFrame();
  }
  static void Paste(const std::string& text) { ASSERT_TRUE(ui::SetClipboardText(text)); }
  static std::string Line(const TCalcFrame& page) { return page.StatusBar.PanelText(1); }
};

struct PasteCase {
  const char* label;
  std::string clipboard;
  int matchedRow;  // -1: none
  std::u8string line;
};

TEST_F(CalcClipboardTest, CtrlVComparesTheRowsWithThePastedDigest) {
  const TCalcFrame& page = TwoFiles();
  const std::string total = page.TotalText();
  const PasteCase cases[] = {
      {"as sha256sum prints it", kAbc + "  2.txt\n", 1, u8"一致: 2.txt"},
      {"upper case in groups", "BA7816BF 8F01CFEA 414140DE 5DAE2223 B00361A3 96177A9C B410FF61 F20015AD", 1,
       u8"一致: 2.txt"},
      {"a label", "SHA-256: " + kAbd, 0, u8"一致: 1.txt"},
      {"base64", "ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0=", 1, u8"一致: 2.txt"},
      {"a digest of no row", std::string(64, '0'), -1, u8"一致するファイルはありません"},
      {"no digest of the page's kind", "900150983cd24fb0d6963f7d28e17f72", -1,
       u8"クリップボードにハッシュがありません"},
  };
  for (const PasteCase& c : cases) {
    SCOPED_TRACE(c.label);
    Paste(c.clipboard);
    beeps.clear();
    PressKeyInCalcForm('V', false, true);
    EXPECT_EQ(Line(page), ui::Utf8(c.line));
    if (c.matchedRow >= 0) {
      EXPECT_EQ(page.ListView.Selected(), c.matchedRow);
      EXPECT_TRUE(page.Matched(static_cast<std::size_t>(c.matchedRow)));
      EXPECT_FALSE(page.Matched(static_cast<std::size_t>(1 - c.matchedRow)));
      EXPECT_TRUE(beeps.empty());
    } else {
      EXPECT_FALSE(page.Matched(0) || page.Matched(1));
      EXPECT_EQ(beeps, std::vector<UINT>{MB_ICONEXCLAMATION});
    }
  }
  EXPECT_EQ(page.TotalText(), total) << "the list's total line stays";
}

// A page of one file finishes while the clipboard holds a digest of its kind: the result shows
// by itself, and a mismatch ends the intake with the error sound.
TEST_F(CalcClipboardTest, APageOfOneFileShowsTheComparisonByItself) {
  struct Case {
    std::string clipboard;
    std::u8string line;
    UINT sound;
  };
  const Case cases[] = {
      {"SHA256 (setup.zip) = " + kAbc, u8"一致: setup.zip", MB_OK},
      {kAbd, u8"一致するファイルはありません", MB_ICONEXCLAMATION},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clipboard);
    CalcForm->Close();
    ui::App().ResetTerminated();
    Paste(c.clipboard);
    beeps.clear();
    Calc({Put("setup.zip", "abc")});
    const TCalcFrame& page = *CalcForm->ActiveFrame();
    EXPECT_EQ(Line(page), ui::Utf8(c.line));
    EXPECT_EQ(beeps, std::vector<UINT>{c.sound});
    EXPECT_EQ(page.TotalText(), "Total  1 Files  3 Bytes");
  }
}

TEST_F(CalcClipboardTest, CtrlShiftCCopiesTheSelectedRowsHashAlone) {
  const TCalcFrame& page = TwoFiles();
  for (const int row : {0, 1}) {
    CalcForm->ActiveFrame()->ListView.SelectFocusShow(row);
    PressKeyInCalcForm('C', true, true);
    EXPECT_EQ(ui::ClipboardText(), row == 0 ? kAbd : kAbc);
  }
  // The hash column shows the whole hash.
  EXPECT_GE(page.ListView.ColumnWidth(1), page.ListView.TextWidth(kAbc));
}

}  // namespace
}  // namespace calctest
