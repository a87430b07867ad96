#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/compare_form.h"
#include "app/compare_frame.h"
#include "app/compare_support.h"
#include "app/main_form.h"
#include "app/program_fixture.h"
#include "core/codepage.h"
#include "core/listread.h"
#include "core/path.h"
#include "engine/hash_file.h"
#include "support/drop_support.h"
#include "support/wide_path.h"
#include "ui/application.h"
#include "ui/text.h"
#include "win/fault_injection.h"
#include "win/handle.h"
#include "win/long_name.h"

namespace {

using comparetest::TableList;

std::string U8(const char8_t* text) { return ui::Utf8(text); }

class CompareWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    comparetest::ResetCompareForm();
    sounds_.emplace();
  }
  void TearDown() override {
    sounds_.reset();
    comparetest::ResetCompareForm();
  }

  void Compare(std::vector<std::string> paths) { CompareForm->CompareFiles(paths); }

  std::vector<std::string> TabCaptions() const {
    std::vector<std::string> captions;
    for (int i = 0; i < CompareForm->PageCount(); ++i)
      captions.push_back(CompareForm->ComparePageControl.Page(i).Caption());
    return captions;
  }

  // A CRC32 list of the one file "abc.txt" (written beside it): correct when verified.
  std::string GoodList(const std::string& relative) {
    const std::size_t slash = relative.rfind('\\');
    const std::string folder = slash == std::string::npos ? "" : relative.substr(0, slash + 1);
    folder_.Write(folder + "abc.txt", "abc");
    if (relative.ends_with(".md5")) {
      folder_.Write(relative, "900150983cd24fb0d6963f7d28e17f72 abc.txt\r\n");
    } else {
      folder_.Write(relative, TableList(THashType::CRC32, {{"abc.txt", "352441C2", "3"}}));
    }
    return folder_.File(relative);
  }

  static std::string ResultCaption(const std::string& listPath) {
    return win::LongFileName(listPath) + " - Compare - " + ui::App().Title();
  }

  apptest::TempFolder folder_;
  std::optional<comparetest::SoundLog> sounds_;
};

TEST_F(CompareWindowTest, ListsOpenInSortedOrderAndTheLastStaysActive) {
  const std::string b = GoodList("b.crc");
  const std::string a = GoodList("a.md5");
  Compare({b, a});
  EXPECT_EQ(TabCaptions(), (std::vector<std::string>{"a.md5", "b.crc"}));
  ASSERT_EQ(CompareForm->ComparePageControl.ActivePageIndex(), 1);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(CompareForm->Frame(i)->StateText(), U8(u8"完了"));
    EXPECT_EQ(CompareForm->Frame(i)->Item(0).State, 1);
  }
  EXPECT_EQ(CompareForm->Frame(0)->Hint(), win::LongFileName(a));
  EXPECT_EQ(CompareForm->Caption(), ResultCaption(b));
  EXPECT_TRUE(CompareForm->Visible());
  EXPECT_EQ(sounds_->Heard(), (std::vector<std::string>{"done"}));
  EXPECT_FALSE(CompareForm->InIntake());
}

struct FolderCase {
  bool recursive;
  std::vector<std::string> tabs;
};

class CompareFolderTest : public CompareWindowTest, public testing::WithParamInterface<FolderCase> {};

TEST_P(CompareFolderTest, FolderListsComeBeforeThoseOfItsSubfolders) {
  GoodList("top\\zz.crc");
  GoodList("top\\list1.crc");
  GoodList("top\\b\\list4.crc");
  GoodList("top\\a\\list2.md5");
  GoodList("top\\a\\deeper\\list3.crc");
  folder_.Write("top\\notalist.txt", "just some text\r\n");
  folder_.Write("top\\a\\Name only.txt", "Name is a word\r\n");
  MainForm->DirRecursiveCheckBox.SetChecked(GetParam().recursive);
  Compare({folder_.File("top")});
  EXPECT_EQ(TabCaptions(), GetParam().tabs);
  // Files in a searched folder that are no lists are passed over without a sound.
  EXPECT_EQ(sounds_->Heard(), (std::vector<std::string>{"done"}));
}

INSTANTIATE_TEST_SUITE_P(
    Recursion, CompareFolderTest,
    testing::Values(FolderCase{false, {"list1.crc", "zz.crc"}},
                    FolderCase{true, {"list1.crc", "zz.crc", "list2.md5", "list3.crc", "list4.crc"}}),
    [](const testing::TestParamInfo<FolderCase>& p) { return std::string(p.param.recursive ? "Recursive" : "Flat"); });

// Given directly, each file that is no list gets a page of one error row that says so and sounds
// the error, with or without "処理完了時Beep"; a folder's other files are passed over, and an
// intake that opens nothing closes the window, which with the main window hidden ends the program.
TEST_F(CompareWindowTest, FilesThatAreNoListsGetAPageSayingSoWhenNamedDirectly) {
  folder_.Write("1 text.txt", "hello\r\n");
  folder_.Write("2 name.txt", "Name is not a header\r\n" + std::string(200000, 'x'));
  // Starts like an MD5 list but is larger than any list: refused instead of loaded.
  {
    const std::string path = folder_.File("3 huge.md5");
    folder_.Write("3 huge.md5", "900150983cd24fb0d6963f7d28e17f72 abc.txt\r\n");
    const win::KernelHandle file(CreateFileW(W(path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(kMaxChecksumListBytes) + 1;
    ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get()));
  }
  const std::vector<std::string> names{"1 text.txt", "2 name.txt", "3 huge.md5", "4 missing.crc"};
  std::vector<std::string> paths;
  for (const std::string& name : names) paths.push_back(folder_.File(name));
  MainForm->DoneBeepCheckBox.SetChecked(false);
  Compare(paths);
  EXPECT_EQ(sounds_->Heard(), (std::vector<std::string>{"error", "error", "error", "error"}));
  ASSERT_EQ(TabCaptions(), names);
  for (int i = 0; i < CompareForm->PageCount(); ++i) {
    TCompareFrame& frame = *CompareForm->Frame(i);
    SCOPED_TRACE(names[static_cast<std::size_t>(i)]);
    EXPECT_EQ(frame.ListPath(), paths[static_cast<std::size_t>(i)]);
    ASSERT_EQ(frame.RowCount(), 1u);
    const comparetest::RowView row = comparetest::ReadRow(frame, 0);
    // The missing file may well have been a list: it was not read.
    const std::u8string outcome = i == 3 ? u8"読めません (見つかりません)" : u8"チェックサムリストではありません";
    EXPECT_EQ(row.cells,
              (std::vector<std::string>{names[static_cast<std::size_t>(i)], "", "", "", "", U8(outcome.c_str())}));
    EXPECT_EQ(row.state, 2);
    EXPECT_EQ(frame.SummaryText(), U8(u8"1ファイル (正常 : 0  異常 : 1)"));
    EXPECT_EQ(frame.StateText(), U8(u8"完了"));
  }
  EXPECT_TRUE(CompareForm->OpenedNoList());
  EXPECT_TRUE(CompareForm->Visible());
  EXPECT_FALSE(ui::App().Terminated());

  sounds_.reset();
  comparetest::ResetCompareForm();  // "処理完了時Beep" on again
  sounds_.emplace();
  Compare({folder_.Path()});
  EXPECT_EQ(sounds_->Heard(), (std::vector<std::string>{"done"}));
  EXPECT_EQ(CompareForm->PageCount(), 0);
  EXPECT_FALSE(CompareForm->Visible());
  EXPECT_TRUE(ui::App().Terminated());
  ui::App().ResetTerminated();
}

// A list that another program holds for writing cannot be read: named or in a folder, it gets a
// page that says so and why, and the error sound.
TEST_F(CompareWindowTest, ListsThatCannotBeReadGetAPageWithTheReason) {
  const std::string good = GoodList("a.crc");
  const std::string held = GoodList("held.md5");
  const win::KernelHandle writer(CreateFileW(W(held).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(writer.valid());
  for (const std::string& path : {held, folder_.Path()}) {
    SCOPED_TRACE(path);
    sounds_.reset();
    comparetest::ResetCompareForm();
    sounds_.emplace();
    MainForm->DoneBeepCheckBox.SetChecked(false);
    Compare({path});
    ASSERT_NE(CompareForm->Frame(CompareForm->PageCount() - 1), nullptr);
    TCompareFrame& frame = *CompareForm->Frame(CompareForm->PageCount() - 1);
    EXPECT_EQ(TabCaptions().back(), "held.md5");
    EXPECT_EQ(frame.ListPath(), held);
    ASSERT_EQ(frame.RowCount(), 1u);
    const comparetest::RowView row = comparetest::ReadRow(frame, 0);
    EXPECT_EQ(row.cells, (std::vector<std::string>{"held.md5", "", "", "", "", U8(u8"読めません (使用中)")}));
    EXPECT_EQ(row.state, 2);
    EXPECT_EQ(frame.SummaryText(), U8(u8"1ファイル (正常 : 0  異常 : 1)"));
    EXPECT_EQ(sounds_->Heard(), (std::vector<std::string>{"error"}));
  }
  EXPECT_EQ(TabCaptions(), (std::vector<std::string>{"a.crc", "held.md5"})) << "the folder's good list is verified";
}

// A folder that cannot be listed gets such a page too, named with the "\" that tells a folder.
TEST_F(CompareWindowTest, AFolderThatCannotBeListedGetsAPageWithTheReason) {
  GoodList("a.crc");
  const std::string folder = folder_.Path();  // ends in "\"
  const std::string name = ExtractFileName(folder.substr(0, folder.size() - 1), IsNeverLeadByte);
  MainForm->DoneBeepCheckBox.SetChecked(false);
  const win::InjectedFault fault(win::FaultCall::ListFirst, "\\" + name + "\\", ERROR_ACCESS_DENIED);
  Compare({folder});
  EXPECT_EQ(TabCaptions(), std::vector<std::string>{name});
  ASSERT_NE(CompareForm->Frame(0), nullptr);
  const comparetest::RowView row = comparetest::ReadRow(*CompareForm->Frame(0), 0);
  EXPECT_EQ(row.cells, (std::vector<std::string>{name + "\\", "", "", "", "", U8(u8"読めません (アクセス拒否)")}));
  EXPECT_EQ(sounds_->Heard(), (std::vector<std::string>{"error"}));
  EXPECT_TRUE(CompareForm->OpenedNoList());
}

// A drop on the window itself takes the way of every drop, through the main window.
TEST_F(CompareWindowTest, AFileDroppedOnTheWindowThatIsNoListGetsItsPage) {
  const std::string good = GoodList("a.crc");
  folder_.Write("b.txt", "no list\r\n");
  MainForm->DoneBeepCheckBox.SetChecked(false);
  ASSERT_TRUE(droptest::DropFiles(CompareForm->Handle(), {folder_.File("b.txt"), good}, POINT{10, 10}));
  EXPECT_EQ(TabCaptions(), (std::vector<std::string>{"a.crc", "b.txt"}));
  EXPECT_EQ(sounds_->Heard(), (std::vector<std::string>{"error"}));
  ASSERT_NE(CompareForm->Frame(1), nullptr);
  EXPECT_EQ(comparetest::ReadRow(*CompareForm->Frame(1), 0).cells.back(), U8(u8"チェックサムリストではありません"));
  EXPECT_EQ(CompareForm->Frame(1)->SummaryText(), U8(u8"1ファイル (正常 : 0  異常 : 1)"));
  EXPECT_EQ(CompareForm->Frame(0)->SummaryText(), U8(u8"1ファイル (正常 : 1  異常 : 0)"));
  EXPECT_FALSE(CompareForm->OpenedNoList());
  EXPECT_TRUE(CompareForm->Visible());
}

TEST_F(CompareWindowTest, ClosingWhileTheMainWindowIsShownOnlyHides) {
  MainForm->Show();
  Compare({folder_.Path()});
  EXPECT_FALSE(CompareForm->Visible());
  EXPECT_FALSE(ui::App().Terminated());
}

TEST_F(CompareWindowTest, TabAndShiftTabWrapAroundAndTheCaptionFollows) {
  const std::vector<std::string> lists{GoodList("a.crc"), GoodList("b.crc"), GoodList("c.md5")};
  Compare(lists);
  ASSERT_EQ(CompareForm->PageCount(), 3);
  ASSERT_EQ(CompareForm->ComparePageControl.ActivePageIndex(), 2);
  struct Step {
    bool shift;
    int active;
  };
  for (const Step step : {Step{false, 0}, Step{false, 1}, Step{true, 0}, Step{true, 2}, Step{false, 0}}) {
    comparetest::PressChord(VK_TAB, step.shift);
    ASSERT_EQ(CompareForm->ComparePageControl.ActivePageIndex(), step.active) << (step.shift ? "Shift+Tab" : "Tab");
    EXPECT_EQ(CompareForm->Caption(), ResultCaption(lists[static_cast<std::size_t>(step.active)]));
  }
}

TEST_F(CompareWindowTest, EscCancelsTheIntakeThenClosesTheWindow) {
  const std::string a = GoodList("a.crc");
  folder_.Write("b.txt", "no list\r\n");
  const std::string c = GoodList("c.crc");
  const std::string d = GoodList("d.crc");
  // The error sound of b.txt comes between the pages of a.crc and c.crc: press Esc there.
  MainForm->PlaySoundFile = [previous = MainForm->PlaySoundFile](const std::string& path) {
    previous(path);
    if (path.ends_with("error.wav")) {
      INPUT keys[2] = {};
      keys[0].type = keys[1].type = INPUT_KEYBOARD;
      keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
      keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
      SendInput(2, keys, sizeof(INPUT));
    }
  };
  Compare({d, c, folder_.File("b.txt"), a});
  // The page that ran when the key came is cancelled; d.crc was never opened.
  EXPECT_EQ(TabCaptions(), (std::vector<std::string>{"a.crc", "b.txt", "c.crc"}));
  EXPECT_EQ(CompareForm->Frame(0)->StateText(), U8(u8"完了"));
  EXPECT_EQ(CompareForm->Frame(1)->StateText(), U8(u8"完了"));
  EXPECT_EQ(CompareForm->Frame(2)->StateText(), U8(u8"キャンセル"));
  EXPECT_EQ(CompareForm->Frame(2)->Item(0).State, 0);
  EXPECT_EQ(sounds_->Heard(), (std::vector<std::string>{"error", "cancel"}));
  ASSERT_TRUE(CompareForm->Visible());

  comparetest::PressChord(VK_ESCAPE);
  EXPECT_FALSE(CompareForm->Visible());
}

TEST_F(CompareWindowTest, ShowingTheWindowAgainStartsWithoutTabs) {
  Compare({GoodList("a.crc"), GoodList("b.crc")});
  ASSERT_EQ(CompareForm->PageCount(), 2);
  // A second intake into the shown window adds its tabs.
  Compare({GoodList("c.crc")});
  EXPECT_EQ(TabCaptions(), (std::vector<std::string>{"a.crc", "b.crc", "c.crc"}));
  CompareForm->MenuCloseClick();
  ASSERT_FALSE(CompareForm->Visible());
  Compare({GoodList("d.crc")});
  EXPECT_EQ(TabCaptions(), (std::vector<std::string>{"d.crc"}));
}

TEST_F(CompareWindowTest, TabCaptionShowsTheFileNameAsItIs) {
  Compare({GoodList("sub\\R&D.crc")});
  EXPECT_EQ(TabCaptions(), (std::vector<std::string>{"R&&D.crc"}));  // "&&" shows one "&"
}

TEST_F(CompareWindowTest, WindowIsACentredToolWindowWithItsMenu) {
  EXPECT_EQ(CompareForm->Width(), 408);
  EXPECT_EQ(CompareForm->Height(), 327);
  EXPECT_EQ(CompareForm->Left(), ui::ScreenWidth() / 2 - 408 / 2);
  EXPECT_EQ(CompareForm->Top(), ui::ScreenHeight() / 2 - 327 / 2);
  EXPECT_TRUE(GetWindowLongW(CompareForm->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(GetWindowLongW(CompareForm->Handle(), GWL_STYLE) & WS_THICKFRAME);
  EXPECT_EQ(CompareForm->Font().height, 12);
  EXPECT_EQ(CompareForm->Font().charset, SHIFTJIS_CHARSET);
  EXPECT_EQ(CompareForm->Font().face.Value(), ui::Wide(u8"ＭＳ Ｐゴシック"));
  EXPECT_FALSE(CompareForm->ComparePageControl.TabStop());
  EXPECT_EQ(CompareForm->StateImageList.Count(), 3);
  EXPECT_EQ(CompareForm->StateImageList.Width(), 12);
  EXPECT_EQ(CompareForm->StateImageList.Height(), 12);

  struct Item {
    const char8_t* caption;
    ui::Shortcut shortcut;
  };
  const Item items[] = {{u8"開く(&O)...", {.key = 'O', .ctrl = true}},
                        {u8"-", {}},
                        {u8"前のエラー", {.key = VK_UP, .ctrl = true}},
                        {u8"次のエラー", {.key = VK_DOWN, .ctrl = true}},
                        {u8"エラーをコピー", {.key = 'C', .ctrl = true}},
                        {u8"リストにないファイルを検出", {.key = 'U', .ctrl = true}},
                        {u8"リストを更新(&U)", {.key = 'U', .shift = true, .ctrl = true}},
                        {u8"-", {}},
                        {u8"レポートを保存(&R)...", {.key = 'S', .ctrl = true}},
                        {u8"全タブのレポートを保存...", {.key = 'S', .shift = true, .ctrl = true}},
                        {u8"-", {}},
                        {u8"前のタブ", {.key = VK_TAB, .shift = true}},
                        {u8"次のタブ", {.key = VK_TAB}},
                        {u8"-", {}},
                        {u8"キャンセル/閉じる(&C)", {.key = VK_ESCAPE}}};
  ASSERT_EQ(CompareForm->PopupMenu.Count(), static_cast<int>(std::size(items)));
  for (int i = 0; i < CompareForm->PopupMenu.Count(); ++i) {
    EXPECT_EQ(CompareForm->PopupMenu.Item(i).Caption(), ui::Wide(items[i].caption)) << i;
    EXPECT_EQ(CompareForm->PopupMenu.Item(i).GetShortcut(), items[i].shortcut) << i;
  }
}

// A download dropped on the window: verified against the one row of the list beside it that
// names it, in a page of that list, with the sound of a finished run; the list's other files are
// not looked for.
TEST_F(CompareWindowTest, ADownloadIsVerifiedAgainstTheListBesideIt) {
  struct Case {
    std::string bytes;
    std::u8string summary;
    std::string sound;
  };
  const Case cases[] = {{"abc", u8"1ファイル (正常 : 1  異常 : 0)", "done"},
                        {"abd", u8"1ファイル (正常 : 0  異常 : 1)", "done"}};
  MainForm->CompareUnlisted = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    comparetest::ResetCompareForm();
    sounds_.emplace();
    folder_.Write("setup.zip", c.bytes);
    folder_.Write("other.zip", "more");
    folder_.Write("SHA256SUMS", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad  setup.zip\n");
    Compare({folder_.File("setup.zip")});
    EXPECT_EQ(TabCaptions(), std::vector<std::string>{"SHA256SUMS"});
    ASSERT_NE(CompareForm->Frame(0), nullptr);
    EXPECT_EQ(CompareForm->Frame(0)->RowCount(), 1u);
    EXPECT_EQ(CompareForm->Frame(0)->SummaryText(), U8(c.summary.c_str()));
    EXPECT_EQ(sounds_->Heard(), std::vector<std::string>{c.sound});
    EXPECT_FALSE(CompareForm->OpenedNoList());
    // The page saw one row of the list: it cannot bring the whole list up to date.
    EXPECT_FALSE(CompareForm->Frame(0)->UpdateList(MainForm->Options(), {}));
    EXPECT_EQ(CompareForm->Frame(0)->SummaryText(), U8(u8"更新できません: 一つのファイルだけを照合したページです"));
    EXPECT_EQ(apptest::ReadFileBytes(folder_.File("SHA256SUMS")),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad  setup.zip\n");
  }
}

}  // namespace
