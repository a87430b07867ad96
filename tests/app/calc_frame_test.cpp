// The run of one creation page: rows, names, hashes, sizes, status texts, the list control fed
// on demand, and cancels at every point of a run.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <optional>

#include "app/calc_form.h"
#include "app/calc_frame.h"
#include "app/calc_view_form.h"
#include "app/main_form.h"
#include "calc_support.h"
#include "engine/hash_file.h"
#include "support/job_gate.h"
#include "ui/application.h"
#include "ui/text.h"

namespace calctest {
namespace {

constexpr UINT kCancelMessage = WM_APP + 0x4D;

class CalcRunTest : public CalcTest {
 protected:
  // The two files of the list examples, in this order.
  std::vector<std::string> ExampleFiles() { return {Put("a.txt", kAbc), Put("big.bin", Zeros(1234567))}; }
  const TCalcFrame& Page(int index = 0) { return *CalcForm->Frame(index); }

  // A posted kCancelMessage cancels the window's runs when the run lets messages run.
  SlotTap cancelOnMessage_{*CalcForm, [](ui::Message& message) {
                             if (message.msg == kCancelMessage) CalcForm->MenuCancelClick();
                           }};
};

struct ExampleCase {
  THashType kind;
  bool upperCRC, upperMD5, binaryMode;
  const char* title;
  std::string text;
};

TEST_F(CalcRunTest, WorkedExamplesOfTheListLayouts) {
  const ExampleCase cases[] = {
      {THashType::CRC32, true, false, false, "CRC32",
       "Name     CRC32     Bytes\r\n"
       "-------  --------  ---------\r\n"
       "a.txt    352441C2          3\r\n"
       "big.bin  70986EF5  1,234,567\r\n"
       "----------------------------\r\n"
       "Total  2 Files  1,234,570 Bytes\r\n"},
      {THashType::CRC16, true, false, false, "CRC",
       "Name     CRC   Bytes\r\n"
       "-------  ----  ---------\r\n"
       "a.txt    61DA          3\r\n"
       "big.bin  07A2  1,234,567\r\n"
       "------------------------\r\n"
       "Total  2 Files  1,234,570 Bytes\r\n"},
      // Lower case on request; a CRC page never takes the binary-mode asterisk.
      {THashType::CRC32, false, true, true, "CRC32",
       "Name     CRC32     Bytes\r\n"
       "-------  --------  ---------\r\n"
       "a.txt    352441c2          3\r\n"
       "big.bin  70986ef5  1,234,567\r\n"
       "----------------------------\r\n"
       "Total  2 Files  1,234,570 Bytes\r\n"},
      {THashType::MD5, true, false, false, "MD5",
       "900150983cd24fb0d6963f7d28e17f72 a.txt\r\n"
       "ec20dd727de8b769905be6e835ef9198 big.bin\r\n"},
      {THashType::MD5, true, false, true, "MD5",
       "900150983cd24fb0d6963f7d28e17f72 *a.txt\r\n"
       "ec20dd727de8b769905be6e835ef9198 *big.bin\r\n"},
      {THashType::MD5, false, true, false, "MD5",
       "900150983CD24FB0D6963F7D28E17F72 a.txt\r\n"
       "EC20DD727DE8B769905BE6E835EF9198 big.bin\r\n"},
  };
  const std::vector<std::string> files = ExampleFiles();
  for (const ExampleCase& c : cases) {
    SCOPED_TRACE(c.text);
    CalcForm->Hide();
    MainForm->SetHashType(c.kind);
    MainForm->UpperCRCCheckBox.SetChecked(c.upperCRC);
    MainForm->UpperMD5CheckBox.SetChecked(c.upperMD5);
    MainForm->MD5BinaryModeCheckBox.SetChecked(c.binaryMode);
    Calc(files);
    ASSERT_EQ(CalcForm->PageCount(), 1);
    EXPECT_EQ(Page().Kind(), c.kind);
    EXPECT_EQ(Page().ListView.ColumnCaption(1), c.title);
    CalcViewForm->RenderActivePage();
    EXPECT_EQ(CalcViewForm->ListText(), c.text);
    CalcForm->MenuViewClick();
    EXPECT_EQ(CalcViewForm->RichEdit.Text(), c.text);
    CalcViewForm->Hide();
  }
}

TEST_F(CalcRunTest, TheListControlShowsTheRowsFromTheRecords) {
  Calc({Put("a.txt", kAbc), Put("empty.dat"), Put("big.bin", Zeros(1234567))});
  const TCalcFrame& page = Page();
  ASSERT_EQ(page.Entries.size(), 3u);
  const HWND list = page.ListView.HandleIfAllocated();
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(ListView_GetItemCount(list), 3);
  const char* const expected[3][3] = {
      {"a.txt", "352441C2", "3"}, {"big.bin", "70986EF5", "1,234,567"}, {"empty.dat", "00000000", "0"}};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      wchar_t text[64] = {};
      ListView_GetItemText(list, row, column, text, 64);
      EXPECT_EQ(ui::Utf8FromWide(text), expected[row][column]) << row << "," << column;
    }
  }
  // The run leaves the last row selected and focused.
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 2);
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), 2);
  EXPECT_EQ(page.StateText(), kDone);
  EXPECT_EQ(page.TotalText(), "Total  3 Files  1,234,570 Bytes");
  EXPECT_EQ(page.BaseFolder(), Base());
  EXPECT_EQ(page.Hint(), Base());
}

TEST_F(CalcRunTest, ColumnsGrowToTheirWidestTextAndNeverNarrow) {
  const std::string longName = "a-rather-long-file-name-for-the-first-column.txt";
  Calc({Put(longName, kAbc), Put("b.txt", "b")});
  const ui::ListView& list = Page().ListView;
  EXPECT_EQ(list.ColumnWidth(0), list.TextWidth(longName) + 12);
  EXPECT_EQ(list.ColumnWidth(1), std::max(list.TextWidth("Hash"), list.TextWidth("352441C2")) + 12);
  EXPECT_EQ(list.ColumnWidth(2), list.TextWidth("Bytes") + 12);
}

TEST_F(CalcRunTest, UnreadablePathsAreSkippedButCounted) {
  const std::string missing = Root() + "missing.txt";
  const std::string folder = Folder("folder");
  Calc({Put("a.txt", kAbc), missing, folder + "\\nothing"});
  const TCalcFrame& page = Page();
  EXPECT_EQ(Names(page), (std::vector<std::string>{"a.txt"}));
  // Left out of the list, but shown after its rows with the reason, and the end is an error.
  ASSERT_EQ(page.LeftOut.size(), 2u);
  EXPECT_EQ(page.LeftOut[0].path, folder + "\\nothing");
  EXPECT_EQ(page.LeftOut[1].path, missing);
  EXPECT_EQ(page.ListView.ItemCount(), 3);
  EXPECT_EQ(page.StateText(), kLeftOut);
  EXPECT_EQ(page.TotalText(), "Total  1 Files  3 Bytes");
  EXPECT_EQ(beeps, (std::vector<UINT>{MB_ICONEXCLAMATION}));
}

TEST_F(CalcRunTest, NamesAreRelativeToTheFirstFilesFolder) {
  Calc({Put("data\\a.txt", kAbc), Put("data\\sub\\b.txt", "b"), Put("other\\c.txt", "c")});
  EXPECT_EQ(Pages(), (std::vector<PageView>{{"/", Root() + "data", {"a.txt", "sub\\b.txt", "..\\other\\c.txt"}}}));
}

TEST_F(CalcRunTest, DoubleByteNamesKeepTheirTrailBytes) {
  Put("\xE8\xA1\xA8\\\xE3\x82\xBD.txt", kAbc);  // 表\ソ.txt: both trail bytes are 0x5C
  Calc({Root() + "\xE8\xA1\xA8"});              // 表
  ASSERT_EQ(CalcForm->PageCount(), 1);
  EXPECT_EQ(CalcForm->CalcPageControl.Page(0).Caption(), "\xE8\xA1\xA8");    // 表
  EXPECT_EQ(Names(Page()), (std::vector<std::string>{"\xE3\x82\xBD.txt"}));  // ソ.txt
  CalcViewForm->RenderActivePage();
  // ソ.txt is 6 bytes wide: the name column is padded to it.
  EXPECT_EQ(CalcViewForm->ListText(),
            "Name    CRC32     Bytes\r\n"
            "------  --------  -----\r\n"
            "\x83\x5c.txt  352441C2      3\r\n"
            "-----------------------\r\n"
            "Total  1 Files  3 Bytes\r\n");
}

TEST_F(CalcRunTest, CancelBeforeTheFirstFileLeavesNoRows) {
  MainForm->AutoSaveFileCheckBox.SetChecked(true);
  PostMessageW(CalcForm->Handle(), kCancelMessage, 0, 0);
  Calc({Put("a.txt", kAbc), Put("b.txt", "b")});
  const TCalcFrame& page = Page();
  EXPECT_TRUE(page.Entries.empty());
  EXPECT_EQ(page.StateText(), kCancelled);
  EXPECT_EQ(page.TotalText(), "");
  EXPECT_FALSE(Exists(RootListPath("crc")));
  EXPECT_EQ(beeps, (std::vector<UINT>{MB_ICONEXCLAMATION}));
}

TEST_F(CalcRunTest, CancelBetweenFilesKeepsTheRowsMadeSoFar) {
  const EveryStatusText everyText;
  std::optional<SlotTap> statusTap;
  const std::string run = "Ruvo - Calc - Wait - " + Base();
  SlotTap captionTap(*CalcForm, [&](ui::Message& message) {
    if (statusTap || SetTextOf(message) != run) return;
    statusTap.emplace(CalcForm->ActiveFrame()->StatusBar, [](ui::Message& status) {
      if (PanelTextOf(status, 0) == "2/3") PostMessageW(CalcForm->Handle(), kCancelMessage, 0, 0);
    });
  });
  Calc({Put("1.txt", "1"), Put("2.txt", "2"), Put("3.txt", "3")});
  statusTap.reset();
  const TCalcFrame& page = Page();
  EXPECT_EQ(Names(page), (std::vector<std::string>{"1.txt"}));
  EXPECT_EQ(page.StateText(), kCancelled);
  EXPECT_EQ(page.TotalText(), "Total  1 Files  1 Bytes");
}

// A cancel that comes while the last file is read: the run ends cancelled and is not saved,
// with and without messages running between blocks.
TEST_F(CalcRunTest, CancelDuringTheLastFileEndsTheRunCancelled) {
  const EveryStatusText everyText;
  MainForm->AutoSaveFileCheckBox.SetChecked(true);
  const std::string first = Put("1.txt", "1");
  const std::string last = Put("2.txt", "2");
  for (const bool showProcess : {true, false}) {
    SCOPED_TRACE(showProcess);
    CalcForm->Hide();
    MainForm->ShowProcessCheckBox.SetChecked(showProcess);
    std::optional<SlotTap> statusTap;
    const std::string run = "Ruvo - Calc - Wait - " + Base();
    // The page turns to the last file while its worker still waits to open it.
    JobGate gate(1);
    SlotTap captionTap(*CalcForm, [&](ui::Message& message) {
      if (statusTap || SetTextOf(message) != run) return;
      statusTap.emplace(CalcForm->ActiveFrame()->StatusBar, [&gate](ui::Message& status) {
        if (PanelTextOf(status, 0) != "2/2") return;
        CalcForm->MenuCancelClick();
        gate.Open();
      });
    });
    Calc({first, last});
    statusTap.reset();
    EXPECT_EQ(Page().StateText(), kCancelled);
    EXPECT_FALSE(Exists(RootListPath("crc")));
  }
}

}  // namespace
}  // namespace calctest
