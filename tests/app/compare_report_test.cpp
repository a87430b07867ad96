// The verification window's results beyond the rows: CSV reports of one page or all, and the
// files that a list does not name.
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/compare_form.h"
#include "app/compare_frame.h"
#include "app/compare_support.h"
#include "app/main_form.h"
#include "app/program_fixture.h"
#include "support/hook_probes.h"
#include "ui/dialogs.h"
#include "ui/text.h"

namespace {

using comparetest::TableList;

std::string U8(const char8_t* text) { return ui::Utf8(text); }

const std::string kBom = "\xEF\xBB\xBF";
const std::string kHeader = "List,Name,Kind,Hash,FHash,Bytes,FBytes,Result\r\n";

class CompareReportTest : public testing::Test {
 protected:
  void SetUp() override {
    comparetest::ResetCompareForm();
    sounds_.emplace();
    previousDialog_ = ui::SetSaveDialogHook([this](ui::SaveDialog& dialog) {
      dialogs_.push_back(dialog);
      if (answer_.empty()) return false;
      dialog.SetFileName(answer_);
      return true;
    });
  }
  void TearDown() override {
    ui::SetSaveDialogHook(previousDialog_);
    MainForm->CompareUnlisted = false;
    sounds_.reset();
    comparetest::ResetCompareForm();
  }

  void Verify(std::vector<std::string> paths) { CompareForm->CompareFiles(paths); }
  TCompareFrame& Page(int index) {
    TCompareFrame* frame = CompareForm->Frame(index);
    if (frame == nullptr) throw std::runtime_error("no page");
    return *frame;
  }
  // The rows' names and Error texts as the page shows them.
  static std::vector<std::string> NamesAndErrors(const TCompareFrame& frame) {
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < frame.RowCount(); ++i) {
      const TCompareItem item = frame.Item(i);
      rows.push_back(item.Name + "|" + item.Error);
    }
    return rows;
  }

  apptest::TempFolder folder_;
  std::optional<comparetest::SoundLog> sounds_;
  std::vector<ui::SaveDialog> dialogs_;
  std::string answer_;  // the file the dialog chooses; empty: cancelled

 private:
  ui::SaveDialogHook previousDialog_;
};

// Ctrl+S: the active page as CSV, RFC 4180 quoting, UTF-8 with a byte-order mark, sizes as digits.
TEST_F(CompareReportTest, ActivePageByKeystroke) {
  folder_.Write("\xE8\xA1\xA8,1.txt", "abc");  // 表,1.txt
  folder_.Write("big.bin", std::string(1234, 'x'));
  folder_.Write("r.crc", TableList(THashType::CRC32, {{"\xE8\xA1\xA8,1.txt", "352441c2", "3"},
                                                      {"big.bin", "00000000", "1,234"},
                                                      {"say \"hi\".txt", "352441C2", "3"},
                                                      {"=1+2.txt", "352441C2", "3"}}));
  Verify({folder_.File("r.crc")});
  TCompareFrame& frame = Page(0);
  const std::string big = frame.Item(1).FHash;
  answer_ = folder_.File("out\xE8\xA1\xA8.csv");
  frame.ListView.SetFocus();
  apptest::PumpMessages();
  comparetest::PressChord('S', false, true);

  ASSERT_EQ(dialogs_.size(), 1u);
  EXPECT_EQ(dialogs_[0].InitialDir(), folder_.Path());
  EXPECT_EQ(dialogs_[0].FileName(), "r");
  EXPECT_EQ(dialogs_[0].DefaultExt(), "csv");
  EXPECT_EQ(ui::Utf8FromWide(dialogs_[0].Filter()), U8(u8"CSVファイル(*.csv)|*.csv"));
  const std::string list = folder_.File("r.crc");
  EXPECT_EQ(apptest::ReadFileBytes(answer_),
            kBom + kHeader + list + ",\"\xE8\xA1\xA8,1.txt\",CRC32,352441c2,352441C2,3,3," + U8(u8"正常") + "\r\n" +
                list + ",big.bin,CRC32,00000000," + big + ",1234,1234,CRC32" + U8(u8"不一致") + "\r\n" + list +
                ",\"say \"\"hi\"\".txt\",CRC32,352441C2,,3,," + U8(u8"名前が不正です") + "\r\n" +  // no file has a '"'
                list + ",'=1+2.txt,CRC32,352441C2,,3,," + U8(u8"ファイルオープン失敗") + "\r\n");  // no formula
}

// Ctrl+Shift+S: every page, in tab order; a cancelled dialog writes nothing.
TEST_F(CompareReportTest, AllPagesOrNone) {
  folder_.Write("a.txt", "abc");
  folder_.Write("1.md5", "900150983cd24fb0d6963f7d28e17f72 *a.txt\n");
  folder_.Write("2.sha256", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad  gone.txt\n");
  Verify({folder_.File("1.md5"), folder_.File("2.sha256")});
  ASSERT_EQ(CompareForm->PageCount(), 2);

  EXPECT_FALSE(CompareForm->SaveReport(true)) << "cancelled";
  answer_ = folder_.File("all.csv");
  Page(1).ListView.SetFocus();
  apptest::PumpMessages();
  comparetest::PressChord('S', true, true);
  ASSERT_EQ(dialogs_.size(), 2u);
  EXPECT_EQ(dialogs_[1].FileName(), U8(u8"検証結果"));
  EXPECT_EQ(apptest::ReadFileBytes(answer_),
            kBom + kHeader + folder_.File("1.md5") +
                ",a.txt,MD5,900150983cd24fb0d6963f7d28e17f72,900150983CD24FB0D6963F7D28E17F72,,," + U8(u8"正常") +
                "\r\n" + folder_.File("2.sha256") +
                ",gone.txt,SHA256,ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad,,,," +
                U8(u8"ファイルオープン失敗") + "\r\n");
}

// A report that cannot be written shows the list's error box; nothing is left behind.
TEST_F(CompareReportTest, UnwritableReportShowsTheListError) {
  folder_.Write("a.txt", "abc");
  folder_.Write("1.md5", "900150983cd24fb0d6963f7d28e17f72  a.txt\n");
  Verify({folder_.File("1.md5")});
  answer_ = folder_.File("missing\\r.csv");
  hooktest::MessageBoxRecorder boxes;
  EXPECT_FALSE(CompareForm->SaveReport(false));
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(ui::Utf8FromWide(boxes.boxes[0].text), U8(u8"ファイル ") + answer_ + U8(u8" を作成できません"));
  EXPECT_FALSE(apptest::ReadFileBytes(answer_));
}

// Files beside the list's files that it does not name: on, off, and found later by Ctrl+U.
TEST_F(CompareReportTest, UnlistedFilesInATree) {
  folder_.Write("top\\a.txt", "abc");
  folder_.Write("top\\new.txt", "n");
  folder_.Write("top\\sub\\deep\\b.txt", "abc");
  folder_.Write("top\\sub\\c.txt", "c");  // reached on the way to sub\deep
  folder_.Write("top\\sub\\deep\\d.txt", "d");
  folder_.Write("top\\other\\e.txt", "e");  // no entry reaches it
  folder_.Write("top\\l.md5",
                "900150983cd24fb0d6963f7d28e17f72  A.TXT\n"  // case does not matter to Windows
                "900150983cd24fb0d6963f7d28e17f72  sub/deep/./b.txt\n");
  const std::vector<std::string> listed = {"A.TXT|", "sub/deep/./b.txt|"};
  const std::string unlisted = U8(u8"リストにないファイル");

  Verify({folder_.File("top\\l.md5")});
  EXPECT_EQ(NamesAndErrors(Page(0)), listed) << "off by default";

  comparetest::ResetCompareForm();
  MainForm->CompareUnlisted = true;
  Verify({folder_.File("top\\l.md5")});
  std::vector<std::string> all = listed;
  for (const char* name : {"new.txt", "sub\\c.txt", "sub\\deep\\d.txt"}) all.push_back(name + ("|" + unlisted));
  TCompareFrame& page = Page(0);
  EXPECT_EQ(NamesAndErrors(page), all);
  EXPECT_EQ(page.ListView.ItemCount(), 5);
  EXPECT_EQ(page.SummaryText(), U8(u8"5ファイル (正常 : 2  異常 : 3)"));
  EXPECT_EQ(page.Item(4).State, 2);
  // Error navigation reaches them.
  page.ListView.SelectFocusShow(0);
  CompareForm->MenuNextErrorClick();
  EXPECT_EQ(page.ListView.Selected(), 2);

  comparetest::ResetCompareForm();
  MainForm->CompareUnlisted = false;
  Verify({folder_.File("top\\l.md5")});
  Page(0).ListView.SetFocus();
  apptest::PumpMessages();
  comparetest::PressChord('U', false, true);
  EXPECT_EQ(NamesAndErrors(Page(0)), all) << "found on request";
  EXPECT_EQ(Page(0).SummaryText(), U8(u8"5ファイル (正常 : 2  異常 : 3)"));
  EXPECT_FALSE(Page(0).AddUnlistedFiles()) << "once per page";
  EXPECT_EQ(Page(0).RowCount(), 5u);
}

}  // namespace
