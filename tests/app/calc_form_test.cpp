// The creation window's intake: how dropped paths become pages, their order and captions, the
// window's captions, its commands and its end.
#include <gtest/gtest.h>

#include "app/calc_form.h"
#include "app/calc_frame.h"
#include "app/calc_view_form.h"
#include "app/main_form.h"
#include "calc_support.h"
#include "engine/hash_file.h"
#include "ui/application.h"

namespace calctest {
namespace {

class CalcIntakeTest : public CalcTest {
 protected:
  // photos\a.jpg, photos\b.jpg, photos\2004\c.jpg
  std::string Photos() {
    Put("photos\\b.jpg", "b");
    Put("photos\\a.jpg", "a");
    Put("photos\\2004\\c.jpg", "c");
    return Root() + "photos";
  }
  std::string Caption() const { return CalcForm->Caption(); }
};

struct FolderCase {
  bool dirList, dirRecursive;
  std::vector<PageView> pages;  // base folders relative to the temporary folder
};

TEST_F(CalcIntakeTest, PhotosTreeUnderEveryListSetting) {
  const FolderCase cases[] = {
      {true, false, {{"photos", "photos", {"a.jpg", "b.jpg"}}}},
      {true, true, {{"photos", "photos", {"a.jpg", "b.jpg"}}, {"2004", "photos\\2004", {"c.jpg"}}}},
      {false, true, {{"/", "photos", {"a.jpg", "b.jpg", "2004\\c.jpg"}}}},
      {false, false, {{"/", "photos", {"a.jpg", "b.jpg"}}}},
  };
  const std::string photos = Photos();
  for (const FolderCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "DirList " << c.dirList << " DirRecursive " << c.dirRecursive);
    CalcForm->Hide();  // the next intake starts from an empty tab control
    MainForm->DirListCheckBox.SetChecked(c.dirList);
    MainForm->DirRecursiveCheckBox.SetChecked(c.dirRecursive);
    Calc({photos});
    std::vector<PageView> expected = c.pages;
    for (PageView& page : expected) page.baseFolder = Root() + page.baseFolder;
    EXPECT_EQ(Pages(), expected);
    // The intake ends on its last page.
    EXPECT_EQ(Caption(), "Ruvo - Calc - " + expected.back().baseFolder);
  }
}

TEST_F(CalcIntakeTest, FolderOfOnlySubfoldersGetsNoPageOfItsOwn) {
  Put("data\\sub\\x.txt", "x");
  Put("data\\sub2\\y.txt", "y");
  MainForm->DirRecursiveCheckBox.SetChecked(true);
  Calc({Root() + "data"});
  EXPECT_EQ(Pages(), (std::vector<PageView>{{"sub", Root() + "data\\sub", {"x.txt"}},
                                            {"sub2", Root() + "data\\sub2", {"y.txt"}}}));
  // The intake ends on the page it opened last.
  EXPECT_EQ(Caption(), "Ruvo - Calc - " + Root() + "data\\sub2");
}

TEST_F(CalcIntakeTest, CombinedListIsNamedFromTheFirstFilesFolder) {
  Put("data\\sub\\x.txt", "x");
  Put("data\\sub2\\y.txt", "y");
  MainForm->DirListCheckBox.SetChecked(false);
  MainForm->DirRecursiveCheckBox.SetChecked(true);
  Calc({Root() + "data"});
  EXPECT_EQ(Pages(), (std::vector<PageView>{{"/", Root() + "data\\sub", {"x.txt", "..\\sub2\\y.txt"}}}));
}

TEST_F(CalcIntakeTest, LooseFilesComeFirstThenFoldersInLocaleOrder) {
  const std::string c = Put("c.txt", "c");
  const std::string a = Put("a.txt", "a");
  const std::string b = Put("B.txt", "b");
  Put("zeta\\z.txt", "z");
  Put("Alpha\\y.txt", "y");
  Put("R&D\\r.txt", "r");
  Calc({Root() + "zeta", c, Root() + "R&D", Root() + "Alpha", a, b});
  EXPECT_EQ(Pages(), (std::vector<PageView>{{"/", Base(), {"a.txt", "B.txt", "c.txt"}},
                                            {"Alpha", Root() + "Alpha", {"y.txt"}},
                                            // the tab control would take a lone "&" for a mnemonic
                                            {"R&&D", Root() + "R&D", {"r.txt"}},
                                            {"zeta", Root() + "zeta", {"z.txt"}}}));
}

TEST_F(CalcIntakeTest, WithoutDirListLooseFilesPrecedeTheFoldersFiles) {
  const std::string z = Put("z.txt", "z");
  Put("sub\\a.txt", "a");
  MainForm->DirListCheckBox.SetChecked(false);
  Calc({Root() + "sub", z});
  EXPECT_EQ(Pages(), (std::vector<PageView>{{"/", Base(), {"z.txt", "sub\\a.txt"}}}));
}

TEST_F(CalcIntakeTest, OneFileGivesOnePageNamedSlash) {
  const std::string movie = Put("x\\movie.avi", "frames");
  Calc({movie});
  EXPECT_EQ(Pages(), (std::vector<PageView>{{"/", Root() + "x", {"movie.avi"}}}));
  EXPECT_EQ(Caption(), "Ruvo - Calc - " + Root() + "x");
  EXPECT_TRUE(CalcForm->Visible());
  EXPECT_FALSE(CalcForm->InIntake());
}

TEST_F(CalcIntakeTest, PathsThatNameNothingLeaveOneEmptyPage) {
  Calc({Root() + "none.txt", Root() + "gone\\x.txt"});
  ASSERT_EQ(CalcForm->PageCount(), 1);
  const TCalcFrame& page = *CalcForm->Frame(0);
  EXPECT_EQ(CalcForm->CalcPageControl.Page(0).Caption(), "/");
  EXPECT_TRUE(page.Entries.empty());
  // Each named path is shown as left out, as it was given (without the "\\" of a long form).
  ASSERT_EQ(page.LeftOut.size(), 2u);
  EXPECT_EQ(page.LeftOut[0].path, Root() + "gone\\x.txt");
  EXPECT_EQ(page.LeftOut[1].path, Root() + "none.txt");
  for (const auto& left : page.LeftOut) EXPECT_EQ(left.reason, THashFailure::NotFound);
  EXPECT_EQ(page.StateText(), kLeftOut);
  EXPECT_EQ(page.TotalText(), "Total  0 Files  0 Bytes");
}

TEST_F(CalcIntakeTest, AnEmptyPathListChangesNothing) {
  Calc({});
  EXPECT_FALSE(CalcForm->Visible());
  EXPECT_TRUE(beeps.empty());
}

TEST_F(CalcIntakeTest, ASecondIntakeAddsTabsUntilTheWindowIsClosed) {
  Put("one\\1.txt", "1");
  Put("two\\2.txt", "2");
  Calc({Root() + "one"});
  Calc({Root() + "two"});
  ASSERT_EQ(Pages().size(), 2u);
  EXPECT_EQ(Pages()[0].caption, "one");
  EXPECT_EQ(Pages()[1].caption, "two");
  EXPECT_EQ(CalcForm->CalcPageControl.ActivePageIndex(), 1);

  CalcForm->Close();
  ui::App().ResetTerminated();
  Calc({Root() + "one"});
  ASSERT_EQ(Pages().size(), 1u);
  EXPECT_EQ(Pages()[0].caption, "one");
}

TEST_F(CalcIntakeTest, APageMadeForADriveRootHasAnEmptyCaption) {
  CalcForm->Show();
  CalcForm->AddListPage({{Put("r1.txt", "1")}, {}}, "C:\\", MainForm->Options(), {});
  CalcForm->AddListPage({{Put("r2.txt", "2")}, {}}, Root() + "photos\\2004\\", MainForm->Options(), {});
  ASSERT_EQ(CalcForm->PageCount(), 2);
  EXPECT_EQ(CalcForm->CalcPageControl.Page(0).Caption(), "");
  EXPECT_EQ(CalcForm->CalcPageControl.Page(1).Caption(), "2004");
}

TEST_F(CalcIntakeTest, DriveRootDroppedOnAMappedDrive) {
  // A drive letter of its own for the temporary folder, so its root can be dropped.
  char letter = 0;
  for (char candidate = 'Q'; candidate <= 'Y' && letter == 0; ++candidate) {
    const std::string drive{candidate, ':'};
    if (GetDriveTypeA((drive + "\\").c_str()) == DRIVE_NO_ROOT_DIR &&
        DefineDosDeviceA(0, drive.c_str(), Base().c_str())) {
      letter = candidate;
    }
  }
  if (letter == 0) GTEST_SKIP() << "no drive letter could be mapped onto a folder";
  const std::string drive{letter, ':'};
  struct Unmap {
    std::string drive, target;
    ~Unmap() { DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, drive.c_str(), target.c_str()); }
  } unmap{drive, Base()};
  Put("probe.txt");
  if (!Exists(drive + "\\probe.txt")) GTEST_SKIP() << "the mapped drive does not show the folder";
  DeleteFileA((Root() + "probe.txt").c_str());

  Put("r1.txt", "1");
  Put("r2.txt", "2");
  Calc({drive + "\\"});
  ASSERT_EQ(CalcForm->PageCount(), 1);
  EXPECT_EQ(CalcForm->CalcPageControl.Page(0).Caption(), "");
  const TCalcFrame& page = *CalcForm->Frame(0);
  EXPECT_EQ(page.BaseFolder(), drive);
  EXPECT_EQ(Names(page), (std::vector<std::string>{"r1.txt", "r2.txt"}));
  EXPECT_EQ(Caption(), "Ruvo - Calc - " + drive);

  // Its list has no name of its own: the automatic save writes ".crc" at the root.
  CalcForm->Hide();
  MainForm->AutoSaveDirCheckBox.SetChecked(true);
  Calc({drive + "\\"});
  EXPECT_TRUE(Exists(Root() + ".crc"));
}

TEST_F(CalcIntakeTest, ShiftTabAndTabCycleThroughTheTabsAndTheCaptionFollows) {
  Put("a\\1.txt", "1");
  Put("b\\2.txt", "2");
  Put("c\\3.txt", "3");
  Calc({Root() + "a", Root() + "b", Root() + "c"});
  ASSERT_EQ(CalcForm->PageCount(), 3);
  CalcForm->CalcPageControl.SetActivePageIndex(0);

  PressKeyInCalcForm(VK_TAB, /*shift=*/true);
  EXPECT_EQ(CalcForm->CalcPageControl.ActivePageIndex(), 2);
  EXPECT_EQ(Caption(), "Ruvo - Calc - " + Root() + "c");

  PressKeyInCalcForm(VK_TAB);
  EXPECT_EQ(CalcForm->CalcPageControl.ActivePageIndex(), 0);
  EXPECT_EQ(Caption(), "Ruvo - Calc - " + Root() + "a");

  PressKeyInCalcForm(VK_TAB);
  EXPECT_EQ(CalcForm->CalcPageControl.ActivePageIndex(), 1);
  EXPECT_EQ(Caption(), "Ruvo - Calc - " + Root() + "b");
}

TEST_F(CalcIntakeTest, EscDuringTheSecondOfThreePagesCancelsTheRest) {
  Put("a\\1.txt", "1");
  Put("b\\2.txt", "2");
  Put("b\\3.txt", "3");
  Put("c\\4.txt", "4");
  // Esc pressed when the second page starts its run; its first file is then not hashed.
  const std::string secondRun = "Ruvo - Calc - Wait - " + Root() + "b";
  bool pressed = false;
  SlotTap tap(*CalcForm, [&](ui::Message& message) {
    if (!pressed && SetTextOf(message) == secondRun) {
      pressed = true;
      PostMessageW(CalcForm->ActiveFrame()->ListView.Handle(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    }
  });
  Calc({Root() + "a", Root() + "b", Root() + "c"});
  ASSERT_TRUE(pressed);

  ASSERT_EQ(CalcForm->PageCount(), 2);  // the third page was never opened
  EXPECT_EQ(CalcForm->Frame(0)->StateText(), kDone);
  EXPECT_EQ(CalcForm->Frame(1)->StateText(), kCancelled);
  EXPECT_TRUE(CalcForm->Frame(1)->Entries.empty());
  EXPECT_EQ(beeps, (std::vector<UINT>{MB_ICONEXCLAMATION}));  // the cancel sound
  EXPECT_EQ(Caption(), "Ruvo - Calc - " + Root() + "b");

  // Idle again: Esc closes the window.
  PostMessageW(CalcForm->ActiveFrame()->ListView.Handle(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  apptest::PumpMessages();
  EXPECT_FALSE(CalcForm->Visible());
}

TEST_F(CalcIntakeTest, OneDoneSoundPerIntakeAndNoneWithoutDoneBeep) {
  Put("a\\1.txt", "1");
  Put("b\\2.txt", "2");
  Calc({Root() + "a", Root() + "b"});
  EXPECT_EQ(beeps, (std::vector<UINT>{MB_OK}));
  beeps.clear();
  MainForm->DoneBeepCheckBox.SetChecked(false);
  Calc({Root() + "a"});
  EXPECT_TRUE(beeps.empty());
}

TEST_F(CalcIntakeTest, AnIntakeThatLeavesNoPageClosesTheWindowAndEndsAHiddenProgram) {
  const std::string file = Put("x\\movie.avi", "frames");
  MainForm->AutoSaveFileCheckBox.SetChecked(true);
  MainForm->AutoSaveCloseCheckBox.SetChecked(true);
  ui::App().ResetTerminated();
  Calc({file});
  EXPECT_TRUE(Exists(Root() + "x\\movie.crc"));
  EXPECT_EQ(CalcForm->PageCount(), 0);
  EXPECT_FALSE(CalcForm->Visible());
  EXPECT_TRUE(ui::App().Terminated());  // the main window is hidden, as in a command-line start
}

TEST_F(CalcIntakeTest, ClosingWhileTheMainWindowIsShownOnlyHides) {
  Calc({Put("1.txt", "1")});
  MainForm->Show();
  CalcForm->Close();
  EXPECT_FALSE(CalcForm->Visible());
  EXPECT_FALSE(ui::App().Terminated());
}

TEST_F(CalcIntakeTest, ADropDuringARunAddsItsPagesAndTheOuterRunGoesOn) {
  Put("outer\\1.txt", "1");
  Put("outer\\2.txt", "2");
  Put("inner\\3.txt", "3");
  // The nested intake starts from a message that runs before the outer page's second file, as a
  // drop on this window would.
  constexpr UINT kNestedDrop = WM_APP + 0x4C;
  bool nested = false;
  SlotTap tap(*CalcForm, [&](ui::Message& message) {
    if (message.msg == kNestedDrop) {
      nested = true;
      std::vector<std::string> paths{Root() + "inner"};
      CalcForm->CalcFiles(paths);
    }
  });
  const std::string outerRun = "Ruvo - Calc - Wait - " + Root() + "outer";
  SlotTap poster(*CalcForm, [&](ui::Message& message) {
    if (!nested && SetTextOf(message) == outerRun) PostMessageW(CalcForm->Handle(), kNestedDrop, 0, 0);
  });
  Calc({Root() + "outer"});
  ASSERT_TRUE(nested);
  EXPECT_EQ(Pages(), (std::vector<PageView>{{"outer", Root() + "outer", {"1.txt", "2.txt"}},
                                            {"inner", Root() + "inner", {"3.txt"}}}));
  EXPECT_EQ(CalcForm->Frame(0)->StateText(), kDone);
  EXPECT_EQ(beeps, (std::vector<UINT>{MB_OK, MB_OK}));  // one sound per intake
  EXPECT_FALSE(CalcForm->InIntake());
}

TEST_F(CalcIntakeTest, WindowIsACentredResizableToolWindow) {
  EXPECT_EQ(CalcForm->GetBorderStyle(), ui::BorderStyle::SizeableTool);
  const HWND window = CalcForm->Handle();
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_THICKFRAME);
  MINMAXINFO limits{};
  SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, 160);
  EXPECT_EQ(limits.ptMinTrackSize.y, 160);
  EXPECT_EQ(ui::Wide(u8"ＭＳ ゴシック"), CalcForm->Font().face.Value());
  EXPECT_FALSE(CalcForm->CalcPageControl.TabStop());

  CalcForm->SetBounds(0, 0, 408, 327);
  CalcForm->FormCreate();
  EXPECT_EQ(CalcForm->Left(), ui::ScreenWidth() / 2 - 408 / 2);
  EXPECT_EQ(CalcForm->Top(), ui::ScreenHeight() / 2 - 327 / 2);
  EXPECT_EQ(CalcForm->Width(), 408);
  EXPECT_EQ(CalcForm->Height(), 327);
}

TEST_F(CalcIntakeTest, MenuHoldsTheCommandsWithTheirShortcuts) {
  struct Entry {
    const ui::MenuItem* item;
    const char8_t* caption;
    ui::Shortcut shortcut;
  };
  const Entry entries[] = {
      {&CalcForm->MenuOpen, u8"開く(&O)...", {.key = 'O', .ctrl = true}},
      {&CalcForm->MenuOpenFolder, u8"フォルダを開く(&D)...", {.key = 'O', .shift = true, .ctrl = true}},
      {&CalcForm->MenuSeparatorOpen, u8"-", {}},
      {&CalcForm->MenuView, u8"テキスト表示(&V)", {.key = 'V'}},
      {&CalcForm->MenuSave, u8"保存(&S)", {.key = 'S'}},
      {&CalcForm->MenuCopy, u8"クリップボードにコピー(&C)", {.key = 'C'}},
      {&CalcForm->MenuCopyHash, u8"ハッシュをコピー(&H)", {.key = 'C', .shift = true, .ctrl = true}},
      {&CalcForm->MenuCompareClipboard, u8"クリップボードと比較(&P)", {.key = 'V', .ctrl = true}},
      {&CalcForm->MenuSeparatorText, u8"-", {}},
      {&CalcForm->MenuPrevTab, u8"前のタブ", {.key = VK_TAB, .shift = true}},
      {&CalcForm->MenuNextTab, u8"次のタブ", {.key = VK_TAB}},
      {&CalcForm->MenuSeparatorTabs, u8"-", {}},
      {&CalcForm->MenuCancelClose, u8"キャンセル/閉じる(&C)", {.key = VK_ESCAPE}},
  };
  ASSERT_EQ(CalcForm->PopupMenu.Count(), static_cast<int>(std::size(entries)));
  for (int i = 0; i < CalcForm->PopupMenu.Count(); ++i) {
    EXPECT_EQ(&CalcForm->PopupMenu.Item(i), entries[i].item);
    EXPECT_EQ(entries[i].item->Caption(), ui::Wide(entries[i].caption));
    EXPECT_EQ(entries[i].item->GetShortcut(), entries[i].shortcut);
  }
  EXPECT_EQ(CalcForm->CalcPageControl.GetPopupMenu(), &CalcForm->PopupMenu);
}

}  // namespace
}  // namespace calctest
