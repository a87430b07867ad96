#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <vector>

#include "app/compare_form.h"
#include "app/compare_frame.h"
#include "app/compare_support.h"
#include "app/main_form.h"
#include "app/program_fixture.h"
#include "core/checksum_list.h"
#include "core/crc.h"
#include "core/hex.h"
#include "engine/hash_file.h"
#include "support/job_gate.h"
#include "support/list_text.h"
#include "ui/application.h"
#include "ui/clipboard.h"
#include "ui/tab_control.h"
#include "ui/text.h"

namespace {

using comparetest::ReadRow;
using comparetest::TableList;

std::string Crc32Hex(const std::string& bytes, bool upper) {
  char text[9];
  std::snprintf(text, sizeof text, upper ? "%08X" : "%08x", ~Crc32Update(0xFFFFFFFFu, bytes.data(), bytes.size()));
  return text;
}

std::string Pattern(std::size_t length) {
  std::string bytes(length, '\0');
  for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(i % 251);
  return bytes;
}

std::string U8(const char8_t* text) { return ui::Utf8(text); }

struct Expected {
  std::string name;
  int state;
  std::string fhash, fbytes, error;
};

class ComparePageTest : public testing::Test {
 protected:
  void SetUp() override {
    comparetest::ResetCompareForm();
    sounds_.emplace();  // quiet and quick: no system beeps
  }
  void TearDown() override {
    sounds_.reset();
    comparetest::ResetCompareForm();
  }

  // Verifies one list through the window's intake and returns its page.
  TCompareFrame& Verify(const std::string& listPath) {
    std::vector<std::string> paths{listPath};
    CompareForm->CompareFiles(paths);
    EXPECT_EQ(CompareForm->PageCount(), 1);
    TCompareFrame* frame = CompareForm->Frame(0);
    if (frame == nullptr) throw std::runtime_error("no page");
    return *frame;
  }

  static void ExpectRows(TCompareFrame& frame, const std::vector<Expected>& rows) {
    ASSERT_EQ(frame.RowCount(), rows.size());
    ASSERT_EQ(frame.ListView.ItemCount(), static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
      SCOPED_TRACE("row " + std::to_string(i) + " " + rows[i].name);
      const TCompareItem& item = frame.Item(i);
      EXPECT_EQ(item.Name, rows[i].name);
      EXPECT_EQ(item.State, rows[i].state);
      EXPECT_EQ(item.FHash, rows[i].fhash);
      EXPECT_EQ(item.FBytes, rows[i].fbytes);
      EXPECT_EQ(item.Error, rows[i].error);
      // What the list gives a reader, drawn on demand from the entry: the Error column says in
      // words what the state picture shows.
      const comparetest::RowView view = ReadRow(frame, static_cast<int>(i));
      const std::string outcome = item.State == 1 ? U8(u8"正常") : item.Error;
      EXPECT_EQ(view.cells,
                (std::vector<std::string>{item.Name, item.Hash, item.FHash, item.Bytes, item.FBytes, outcome}));
      EXPECT_EQ(view.state, rows[i].state);
    }
  }

  apptest::TempFolder folder_;
  std::optional<comparetest::SoundLog> sounds_;
};

TEST_F(ComparePageTest, Crc32RowOutcomes) {
  const std::string big = Pattern(1234);
  folder_.Write("list\\b.bin", big);
  folder_.Write("list\\a.txt", "abc");
  folder_.Write("list\\sub\\c.txt", "123456789");
  folder_.Write("other\\d.txt", "abc");
  folder_.Write("list\\name with spaces.txt", "abc");
  folder_.Write("list\\\xE8\xA1\xA8.txt", "abc");  // 表.txt, trail byte 0x5C
  const std::string crc = Crc32Hex(big, false);
  const std::string CRC = Crc32Hex(big, true);
  const std::string absolute = folder_.File("other\\d.txt");
  folder_.Write("list\\x.crc", TableList(THashType::CRC32, {{"b.bin", crc, "1,234"},
                                                            {"b.bin", CRC, "1234"},
                                                            {"b.bin", CRC, "01234"},
                                                            {"a.txt", "00000000", "4"},
                                                            {"a.txt", "00000000", "3"},
                                                            {"sub\\c.txt", "CBF43926", "9"},
                                                            {"..\\other\\d.txt", "352441c2", "3"},
                                                            {"missing.txt", "352441C2", "3"},
                                                            {"name with spaces.txt", "352441C2", "3"},
                                                            {absolute, "352441C2", "3"},
                                                            {"\xE8\xA1\xA8.txt", "352441C2", "3"}}));  // 表.txt

  TCompareFrame& frame = Verify(folder_.File("list\\x.crc"));
  const std::string sizeMismatch = U8(u8"サイズ不一致");
  ExpectRows(frame, {{"b.bin", 1, CRC, "1,234", ""},
                     {"b.bin", 1, CRC, "1234", ""},
                     {"b.bin", 2, CRC, "1234", sizeMismatch},
                     {"a.txt", 2, "352441C2", "3", sizeMismatch},  // both differ: the size wins
                     {"a.txt", 2, "352441C2", "3", "CRC32" + U8(u8"不一致")},
                     {"sub\\c.txt", 1, "CBF43926", "9", ""},
                     {"..\\other\\d.txt", 1, "352441C2", "3", ""},
                     {"missing.txt", 2, "", "", U8(u8"ファイルオープン失敗")},
                     {"name with spaces.txt", 1, "352441C2", "3", ""},
                     {absolute, 1, "352441C2", "3", ""},
                     {"\xE8\xA1\xA8.txt", 1, "352441C2", "3", ""}});  // 表.txt
  EXPECT_EQ(frame.ListView.ColumnCaption(1), "CRC32");
  EXPECT_EQ(frame.ListView.ColumnCaption(2), "FCRC32");
  EXPECT_EQ(frame.StateText(), U8(u8"完了"));
  EXPECT_EQ(frame.SummaryText(), U8(u8"11ファイル (正常 : 7  異常 : 4)"));
  EXPECT_EQ(frame.ListView.Selected(), 10);  // the run leaves its last row selected
}

TEST_F(ComparePageTest, Crc16AndMd5Lists) {
  folder_.Write("a.txt", "abc");
  folder_.Write("n.txt", "123456789");
  folder_.Write("c.crc", TableList(THashType::CRC16, {{"a.txt", "61da", "3"}, {"a.txt", "0000", "3"}}));
  {
    TCompareFrame& frame = Verify(folder_.File("c.crc"));
    ExpectRows(frame, {{"a.txt", 1, "61DA", "3", ""}, {"a.txt", 2, "61DA", "3", "CRC" + U8(u8"不一致")}});
    EXPECT_EQ(frame.ListView.ColumnCaption(1), "CRC");
    EXPECT_EQ(frame.ListView.ColumnCaption(2), "FCRC");
  }
  comparetest::ResetCompareForm();

  // Own layout (one space), md5sum binary mode (" *"), md5sum text mode (two spaces), upper case.
  folder_.Write("m.md5",
                "900150983cd24fb0d6963f7d28e17f72 a.txt\r\n"
                "900150983cd24fb0d6963f7d28e17f72 *a.txt\r\n"
                "25f9e794323b453885f5181f1b624d0b  n.txt\n"
                "25F9E794323B453885F5181F1B624D0B n.txt\r"
                "00000000000000000000000000000000 a.txt\r\n"
                "900150983cd24fb0d6963f7d28e17f72 gone.txt\r\n");
  TCompareFrame& frame = Verify(folder_.File("m.md5"));
  const std::string abc = "900150983CD24FB0D6963F7D28E17F72";
  const std::string digits = "25F9E794323B453885F5181F1B624D0B";
  // Sizes are never compared for MD5: both size cells stay empty.
  ExpectRows(frame, {{"a.txt", 1, abc, "", ""},
                     {"a.txt", 1, abc, "", ""},
                     {"n.txt", 1, digits, "", ""},
                     {"n.txt", 1, digits, "", ""},
                     {"a.txt", 2, abc, "", "MD5" + U8(u8"不一致")},
                     {"gone.txt", 2, "", "", U8(u8"ファイルオープン失敗")}});
  EXPECT_EQ(frame.ListView.ColumnCaption(1), "MD5");
  EXPECT_EQ(frame.ListView.ColumnCaption(2), "FMD5");
}

// Other tools' lists: the kind's titles, no sizes, and in a list of mixed tags each row judged and
// named by its own kind.
TEST_F(ComparePageTest, ShaAndMixedTagLists) {
  folder_.Write("a.txt", "abc");
  const std::string sha256 = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
  folder_.Write("s.sha256", sha256 + "  a.txt\n" + std::string(64, '0') + " *a.txt\n");
  {
    TCompareFrame& frame = Verify(folder_.File("s.sha256"));
    ExpectRows(frame, {{"a.txt", 1, AsciiUpper(sha256), "", ""},
                       {"a.txt", 2, AsciiUpper(sha256), "", "SHA256" + U8(u8"不一致")}});
    EXPECT_EQ(frame.ListView.ColumnCaption(1), "SHA256");
    EXPECT_EQ(frame.ListView.ColumnCaption(2), "FSHA256");
  }
  comparetest::ResetCompareForm();

  const std::string sha1 = "A9993E364706816ABA3E25717850C26C9CD0D89D";
  folder_.Write("mixed.txt", "SHA1 (a.txt) = " + sha1 + "\nMD5 (a.txt) = " + std::string(32, '0') + "\n");
  TCompareFrame& frame = Verify(folder_.File("mixed.txt"));
  ExpectRows(frame, {{"a.txt", 1, sha1, "", ""},
                     {"a.txt", 2, "900150983CD24FB0D6963F7D28E17F72", "", "MD5" + U8(u8"不一致")}});
  EXPECT_EQ(frame.ListView.ColumnCaption(1), "SHA1");
}

// 128 digits under a name that says neither SHA-512 nor BLAKE2b: each row is correct by the kind
// its file matches, and a BLAKE2b list's columns say so.
TEST_F(ComparePageTest, LongDigestsOfEitherKind) {
  folder_.Write("a.txt", "abc");
  const std::string sha512 =
      "DDAF35A193617ABACC417349AE20413112E6FA4E89A97EA20A9EEEE64B55D39A2192992A274FC1A836BA3C23A3FEEBBD454D4423643CE80E"
      "2A9AC94FA54CA49F";
  const std::string blake2b =
      "BA80A53F981C4D0D6A2797B69F12F6E94C212F14685AC4B74B12BB6FDBFFA2D17D87C5392AAB792DC252D5DE4533CC9518D38AA8DBF1925A"
      "B92386EDD4009923";
  folder_.Write("b.txt", AsciiLower(blake2b) + "  a.txt\n" + AsciiLower(sha512) + "  a.txt\n" + std::string(128, '0') +
                             "  a.txt\n");
  TCompareFrame& frame = Verify(folder_.File("b.txt"));
  ExpectRows(frame, {{"a.txt", 1, blake2b, "", ""},
                     {"a.txt", 1, sha512, "", ""},
                     {"a.txt", 2, sha512, "", "SHA512" + U8(u8"不一致")}});
  EXPECT_EQ(frame.ListView.ColumnCaption(1), "BLAKE2b");
}

// A blank line ends nothing: the wrong row after it is verified. A line that is no entry is a row
// that says so.
TEST_F(ComparePageTest, BlankAndMalformedLinesInTheMiddle) {
  folder_.Write("a.txt", "abc");
  folder_.Write("l.crc",
                "Name   CRC32     Bytes\r\n-----  --------  -----\r\n"
                "a.txt  352441C2      3\r\n\r\na.txt  00000000      3\r\nbroken\r\n-----\r\nTotal\r\n");
  TCompareFrame& frame = Verify(folder_.File("l.crc"));
  ExpectRows(frame, {{"a.txt", 1, "352441C2", "3", ""},
                     {"a.txt", 2, "352441C2", "3", "CRC32" + U8(u8"不一致")},
                     {"broken", 2, "", "", U8(u8"6行目の形式が不正です")}});
  EXPECT_EQ(frame.SummaryText(), U8(u8"3ファイル (正常 : 1  異常 : 2)"));
}

TEST_F(ComparePageTest, ListWithoutRowsShowsAnEmptyFinishedPage) {
  folder_.Write("e.crc", TableList(THashType::CRC32, {}));
  TCompareFrame& frame = Verify(folder_.File("e.crc"));
  EXPECT_TRUE(frame.RowCount() == 0);
  EXPECT_EQ(frame.ListView.ItemCount(), 0);
  EXPECT_EQ(frame.StateText(), U8(u8"完了"));
  EXPECT_EQ(frame.SummaryText(), "");
}

TEST_F(ComparePageTest, ColumnsGrowToTheirWidestTextAndNeverShrink) {
  const std::string longName = "a-rather-long-file-name-for-the-first-column.txt";
  folder_.Write(longName, "abc");
  folder_.Write("w.crc", TableList(THashType::CRC32, {{longName, "352441C2", "3"}, {"x", "00000000", "1"}}));
  TCompareFrame& frame = Verify(folder_.File("w.crc"));
  const ui::ListView& list = frame.ListView;
  EXPECT_EQ(list.ColumnWidth(0), list.TextWidth(longName) + 18);
  EXPECT_EQ(list.ColumnWidth(1), std::max(list.TextWidth("CRC32"), list.TextWidth("352441C2")) + 12);
  EXPECT_EQ(list.ColumnWidth(5), list.TextWidth(U8(u8"ファイルオープン失敗")) + 12);
  EXPECT_EQ(list.ColumnWidth(3), list.TextWidth("Bytes") + 12);  // "3" and "1" are narrower
}

// A page built by the test in the verification window, so that the test can watch its list and
// status bar through their message slots while the run goes on.
class OwnPageTest : public ComparePageTest {
 protected:
  // The cancel of the runs that the test starts, new for each test.
  static inline std::stop_source runCancel_;
  void SetUp() override {
    ComparePageTest::SetUp();
    runCancel_ = std::stop_source();
  }

  TCompareFrame& NewPage(const std::string& listPath) {
    ui::TabSheet& sheet = CompareForm->ComparePageControl.AddSheet("own");
    TCompareFrame& frame = sheet.Adopt(std::make_unique<TCompareFrame>(sheet));
    frame.SetHint(listPath);
    return frame;
  }

  // Verifies the lines (without a table header) as a list of the kind, with the main window's
  // options.
  static void Start(TCompareFrame& frame, const std::string& listPath, const std::vector<std::string>& lines,
                    THashType kind) {
    ChecksumList list = ListOfLines(kind, lines);
    ASSERT_EQ(list.size(), lines.size());
    frame.StartCompare(listPath, std::move(list), MainForm->Options(), runCancel_.get_token());
  }

  // Cancels the run the first time the watched control gets a message that `trigger` picks, then
  // does `then`.
  static void CancelOn(ui::Control& control, std::function<bool(const ui::Message&)> trigger,
                       std::function<void()> then = {}) {
    ui::WindowProcSlot previous = control.WindowProc();
    control.WindowProc() = [previous, trigger, then, fired = false](ui::Message& message) mutable {
      if (!fired && trigger(message)) {
        fired = true;
        runCancel_.request_stop();
        if (then) then();
      }
      previous(message);
    };
  }

  static std::function<bool(const ui::Message&)> PanelText(const std::string& ansiPart, WPARAM panel = 1) {
    return [wide = ui::WideFromUtf8(ansiPart), panel](const ui::Message& message) {
      if (message.msg != SB_SETTEXTW || (message.wParam & 0xFF) != panel || message.lParam == 0) return false;
      return std::wstring(reinterpret_cast<const wchar_t*>(message.lParam)).find(wide) != std::wstring::npos;
    };
  }

  std::vector<std::string> Lines(const std::vector<std::string>& names) {
    std::vector<std::string> lines;
    for (const std::string& name : names) lines.push_back(name + "  00000000  1");
    return lines;
  }
};

TEST_F(OwnPageTest, CancelBetweenRowsLeavesTheRestUnverified) {
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) folder_.Write(name, "abc");
  TCompareFrame& frame = NewPage(folder_.File("l.crc"));
  frame.PaceInterval = std::chrono::milliseconds(0);  // every row shown and its messages run
  // Row 0 is scrolled into view once it is done: cancel there, before row 1 starts.
  CancelOn(frame.ListView, [](const ui::Message& message) { return message.msg == LVM_ENSUREVISIBLE; });
  Start(frame, folder_.File("l.crc"), {"a.txt  352441C2  3", "b.txt  352441C2  3", "c.txt  352441C2  3"},
        THashType::CRC32);
  ASSERT_EQ(frame.RowCount(), 3u);
  EXPECT_EQ(frame.Item(0).State, 1);
  for (std::size_t i = 1; i < 3; ++i) {
    EXPECT_EQ(frame.Item(i).State, 0);
    EXPECT_EQ(ReadRow(frame, static_cast<int>(i)).cells,
              (std::vector<std::string>{frame.Item(i).Name, "352441C2", "", "3", "", U8(u8"未検証")}));
    EXPECT_EQ(ReadRow(frame, static_cast<int>(i)).state, 0);
  }
  EXPECT_EQ(frame.StateText(), U8(u8"キャンセル"));
  EXPECT_EQ(frame.SummaryText(), U8(u8"1ファイル (正常 : 1  異常 : 0)"));
}

struct InterruptCase {
  const char* label;
  std::vector<std::size_t> sizes;  // file sizes, one row each
  std::size_t cancelRow;
  bool whileReading;  // cancelled as the page turns to the row, its worker still at the file
  std::vector<int> states;
  const char8_t* summary;
};

class InterruptedReadTest : public OwnPageTest, public testing::WithParamInterface<InterruptCase> {};

// A file whose reading the cancel stopped is no open failure: its row stays unverified and the
// run ends cancelled, also at the last row. A file read to its end before the cancel was seen
// keeps its result, but the run still ends cancelled.
TEST_P(InterruptedReadTest, RunEndsCancelled) {
  const InterruptCase& c = GetParam();
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < c.sizes.size(); ++i) {
    std::string name = "f";
    name += std::to_string(i);
    name += ".bin";
    const std::string bytes = Pattern(c.sizes[i]);
    folder_.Write(name, bytes);
    lines.push_back(name + "  " + Crc32Hex(bytes, true) + "  " + std::to_string(bytes.size()));
  }
  TCompareFrame& frame = NewPage(folder_.File("l.crc"));
  frame.PaceInterval = std::chrono::milliseconds(0);  // every counter and row shown
  std::optional<JobGate> gate;
  if (c.whileReading) {
    gate.emplace(c.cancelRow);
    const std::string counter = std::to_string(c.cancelRow + 1) + "/" + std::to_string(c.sizes.size());
    CancelOn(frame.StatusBar, PanelText(counter, 0), [&gate] { gate->Open(); });
  } else {
    CancelOn(frame.ListView, [row = c.cancelRow](const ui::Message& message) {
      return message.msg == LVM_ENSUREVISIBLE && message.wParam == row;
    });
  }
  Start(frame, folder_.File("l.crc"), lines, THashType::CRC32);
  ASSERT_EQ(frame.RowCount(), c.states.size());
  for (std::size_t i = 0; i < c.states.size(); ++i) {
    EXPECT_EQ(frame.Item(i).State, c.states[i]) << "row " << i;
    if (c.states[i] == 0) {
      EXPECT_EQ(frame.Item(i).Error, "");
      EXPECT_EQ(frame.Item(i).FHash, "");
    }
  }
  EXPECT_EQ(frame.StateText(), U8(u8"キャンセル"));
  EXPECT_EQ(frame.SummaryText(), U8(c.summary));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InterruptedReadTest,
    testing::Values(InterruptCase{"middle", {3, 200000, 3}, 1, true, {1, 0, 0}, u8"1ファイル (正常 : 1  異常 : 0)"},
                    InterruptCase{"last", {3, 200000}, 1, true, {1, 0}, u8"1ファイル (正常 : 1  異常 : 0)"},
                    InterruptCase{"first", {200000, 3}, 0, true, {0, 0}, u8""},
                    InterruptCase{
                        "last read to its end", {3, 3}, 1, false, {1, 1}, u8"2ファイル (正常 : 2  異常 : 0)"}),
    [](const testing::TestParamInfo<InterruptCase>& p) {
      std::string name = p.param.label;
      for (char& c : name)
        if (c == ' ') c = '_';
      return name;
    });

TEST_F(ComparePageTest, ErrorCommandsStopAtBothEnds) {
  folder_.Write("a.txt", "abc");
  folder_.Write("g.crc", TableList(THashType::CRC32, {{"a.txt", "352441C2", "3"},
                                                      {"a.txt", "00000000", "3"},
                                                      {"a.txt", "352441C2", "3"},
                                                      {"a.txt", "00000000", "3"},
                                                      {"a.txt", "352441C2", "3"}}));
  TCompareFrame& frame = Verify(folder_.File("g.crc"));
  ASSERT_EQ(frame.ListView.Selected(), 4);
  frame.ListView.SetFocus();
  apptest::PumpMessages();
  struct Step {
    bool down;
    int selected;
  };
  // Ctrl+Up / Ctrl+Down as real keystrokes, through the menu's shortcuts.
  for (const Step step : {Step{false, 3}, Step{false, 1}, Step{false, 1}, Step{true, 3}, Step{true, 3}}) {
    comparetest::PressChord(step.down ? VK_DOWN : VK_UP, false, true);
    EXPECT_EQ(frame.ListView.Selected(), step.selected) << (step.down ? "down" : "up");
  }
  // Without a selection the search starts before the first row.
  frame.ListView.SelectItem(-1);
  CompareForm->MenuNextErrorClick();
  EXPECT_EQ(frame.ListView.Selected(), 1);
}

// Ctrl+C copies the error rows of the active page, with a header line, as tab-separated text.
TEST_F(ComparePageTest, CopyErrorRowsByKeystroke) {
  folder_.Write("a.txt", "abc");
  folder_.Write("g.crc",
                TableList(THashType::CRC32,
                          {{"a.txt", "352441C2", "3"}, {"a.txt", "00000000", "3"}, {"gone.txt", "352441C2", "3"}}));
  TCompareFrame& frame = Verify(folder_.File("g.crc"));
  frame.ListView.SetFocus();
  apptest::PumpMessages();
  ASSERT_TRUE(ui::SetClipboardText("before"));
  comparetest::PressChord('C', false, true);
  EXPECT_EQ(ui::ClipboardText(),
            "Name\tCRC32\tFCRC32\tBytes\tFBytes\tError\tState\r\n"
            "a.txt\t00000000\t352441C2\t3\t3\tCRC32" +
                U8(u8"不一致\t異常") + "\r\n" + "gone.txt\t352441C2\t\t3\t\t" + U8(u8"ファイルオープン失敗\t異常") +
                "\r\n");
  comparetest::ResetCompareForm();

  // A page without errors copies nothing and says so.
  folder_.Write("ok.crc", TableList(THashType::CRC32, {{"a.txt", "352441C2", "3"}}));
  TCompareFrame& correct = Verify(folder_.File("ok.crc"));
  correct.ListView.SetFocus();
  apptest::PumpMessages();
  ASSERT_TRUE(ui::SetClipboardText("before"));
  comparetest::PressChord('C', false, true);
  EXPECT_EQ(ui::ClipboardText(), "before");
  EXPECT_EQ(correct.SummaryText(), U8(u8"コピーするエラーはありません"));
}

}  // namespace
