// The text view: rendering a page, the save defaults, Save, Copy and the automatic save with its
// overwrite question and its failures.
#include <gtest/gtest.h>

#include <cctype>

#include "app/calc_form.h"
#include "app/calc_frame.h"
#include "app/calc_view_form.h"
#include "app/main_form.h"
#include "calc_support.h"
#include "engine/hash_file.h"
#include "support/drop_support.h"
#include "support/wide_path.h"
#include "ui/application.h"
#include "ui/clipboard.h"
#include "ui/text.h"
#include "win/handle.h"

namespace calctest {
namespace {

// The list of the folder album holding a.txt ("abc") and b.txt ("b").
const std::string kAlbumList =
    "Name   CRC32     Bytes\r\n"
    "-----  --------  -----\r\n"
    "a.txt  352441C2      3\r\n"
    "b.txt  71BEEFF9      1\r\n"
    "----------------------\r\n"
    "Total  2 Files  4 Bytes\r\n";

class CalcViewTest : public CalcTest {
 protected:
  void SetUp() override {
    CalcTest::SetUp();
    MainForm->DoneBeepCheckBox.SetChecked(false);  // only the question sound is of interest here
  }
  std::string Album() {
    Put("album\\a.txt", kAbc);
    Put("album\\b.txt", "b");
    return Root() + "album";
  }
  std::string AlbumList() const { return Root() + "album\\album.crc"; }
};

TEST_F(CalcViewTest, ViewShowsTheActivePageAndSaveOffersItsDefaults) {
  Calc({Put("a.txt", kAbc)});
  CalcForm->MenuViewClick();
  EXPECT_TRUE(CalcViewForm->Visible());
  const std::string text =
      "Name   CRC32     Bytes\r\n"
      "-----  --------  -----\r\n"
      "a.txt  352441C2      3\r\n"
      "----------------------\r\n"
      "Total  1 Files  3 Bytes\r\n";
  EXPECT_EQ(CalcViewForm->RichEdit.Text(), text);

  const std::string target = Root() + "chosen.crc";
  onSaveDialog = [&](ui::SaveDialog& dialog) {
    EXPECT_EQ(dialog.InitialDir(), Base());
    EXPECT_EQ(dialog.FileName(), "a");
    EXPECT_EQ(dialog.DefaultExt(), "crc");
    EXPECT_EQ(dialog.Filter(), ui::Wide(u8"crcファイル(*.crc)|*.crc"));
    EXPECT_TRUE(dialog.Options() & OFN_OVERWRITEPROMPT);
    EXPECT_TRUE(dialog.Options() & OFN_HIDEREADONLY);
    dialog.SetFileName(target);
    return true;
  };
  CalcForm->MenuSaveClick();
  EXPECT_EQ(saveDialogs, 1);
  EXPECT_EQ(ReadFileBytes(target), text);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(CalcViewTest, SaveOnAnMd5PageUsesItsExtensionAndTheFolderName) {
  MainForm->SetHashType(THashType::MD5);
  MainForm->DefaultExtMD5Edit.SetText("md5sum");
  Calc({Album()});
  onSaveDialog = [&](ui::SaveDialog& dialog) {
    EXPECT_EQ(dialog.InitialDir(), Root() + "album");
    EXPECT_EQ(dialog.FileName(), "album");
    EXPECT_EQ(dialog.DefaultExt(), "md5sum");
    EXPECT_EQ(dialog.Filter(), ui::Wide(u8"md5sumファイル(*.md5sum)|*.md5sum"));
    return false;  // the user cancels: nothing is written
  };
  CalcForm->MenuSaveClick();
  EXPECT_EQ(saveDialogs, 1);
  EXPECT_FALSE(Exists(Root() + "album\\album.md5sum"));
}

TEST_F(CalcViewTest, SaveIntoAMissingFolderShowsTheErrorBox) {
  Calc({Put("a.txt", kAbc)});
  const std::string target = Root() + "missing\\a.crc";
  onSaveDialog = [&](ui::SaveDialog& dialog) {
    dialog.SetFileName(target);
    return true;
  };
  CalcForm->MenuSaveClick();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, ui::Utf8(u8"ファイル ") + target + ui::Utf8(u8" を作成できません"));
  EXPECT_EQ(boxes[0].caption, "Ruvo");
  EXPECT_TRUE(boxes[0].flags & MB_ICONERROR);
}

TEST_F(CalcViewTest, CopyPutsExactlyTheSavedBytesOnTheClipboard) {
  Calc({Album()});
  CalcForm->MenuCopyClick();
  EXPECT_EQ(ui::ClipboardText(), kAlbumList);
  EXPECT_EQ(CalcViewForm->RichEdit.SelLength(), 0);
}

// A page without rows has no list: Save and Copy do nothing rather than act on an earlier text.
TEST_F(CalcViewTest, SaveAndCopyDoNothingForAPageWithoutRows) {
  Calc({Album()});
  CalcForm->MenuCopyClick();
  ASSERT_EQ(ui::ClipboardText(), kAlbumList);
  ASSERT_TRUE(ui::SetClipboardText("sentinel"));

  Calc({Root() + "none.txt"});
  ASSERT_EQ(CalcForm->PageCount(), 2);
  ASSERT_TRUE(CalcForm->ActiveFrame()->Entries.empty());
  CalcForm->MenuSaveClick();
  CalcForm->MenuCopyClick();
  EXPECT_EQ(saveDialogs, 0);
  EXPECT_EQ(ui::ClipboardText(), "sentinel");
  CalcForm->MenuViewClick();
  EXPECT_EQ(CalcViewForm->RichEdit.Text(), "");
}

TEST_F(CalcViewTest, ListsRenderedWhileTheViewIsHiddenShowWhenItOpens) {
  Calc({Put("a.txt", kAbc)});
  CalcViewForm->RenderActivePage();
  ASSERT_FALSE(CalcViewForm->Visible());
  CalcViewForm->Show();
  EXPECT_EQ(CalcViewForm->RichEdit.Text(), CalcViewForm->ListText());

  // A second page rendered while hidden again replaces the box's text once it shows.
  CalcViewForm->Hide();
  Calc({Put("b.txt", "b"), Put("c.txt", "c")});
  CalcViewForm->RenderActivePage();
  ASSERT_NE(CalcViewForm->ListText().find("c.txt"), std::string::npos);
  CalcViewForm->Show();
  EXPECT_EQ(CalcViewForm->RichEdit.Text(), CalcViewForm->ListText());
  // Shown, the box follows each rendering at once.
  CalcForm->CalcPageControl.SetActivePage(CalcForm->CalcPageControl.Page(0));
  CalcViewForm->RenderActivePage();
  EXPECT_EQ(CalcViewForm->RichEdit.Text(), CalcViewForm->ListText());
  EXPECT_EQ(CalcViewForm->RichEdit.Text().find("c.txt"), std::string::npos);
}

TEST_F(CalcViewTest, AutoSaveWritesTheFolderListAndAsksBeforeReplacingIt) {
  MainForm->AutoSaveDirCheckBox.SetChecked(true);
  Calc({Album()});
  EXPECT_EQ(ReadFileBytes(AlbumList()), kAlbumList);
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(beeps.empty());

  // The same drop again, with the list itself now one of the folder's files: the list that
  // replaces it has no row of it.
  for (const int answer : {IDCANCEL, IDOK}) {
    SCOPED_TRACE(answer);
    WriteListFile(AlbumList(), "old");
    boxes.clear();
    beeps.clear();
    boxAnswer = answer;
    Calc({Root() + "album"});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, AlbumList() + ui::Utf8(u8"に上書きしますか?"));
    EXPECT_EQ(boxes[0].caption, ui::Utf8(u8"Ruvo - 自動保存"));
    EXPECT_EQ(boxes[0].flags, static_cast<UINT>(MB_ICONINFORMATION | MB_OKCANCEL));
    EXPECT_EQ(beeps, (std::vector<UINT>{MB_ICONEXCLAMATION}));  // the question sound, DoneBeep off
    if (answer == IDOK) {
      EXPECT_EQ(ReadFileBytes(AlbumList()), kAlbumList);
    } else {
      EXPECT_EQ(ReadFileBytes(AlbumList()), "old");
    }
  }
}

TEST_F(CalcViewTest, ForcedOverwriteReplacesWithoutAsking) {
  MainForm->AutoSaveDirCheckBox.SetChecked(true);
  MainForm->AutoSaveForceOverwriteCheckBox.SetChecked(true);
  Album();
  WriteListFile(AlbumList(), "old");
  Calc({Root() + "album"});
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(beeps.empty());
  EXPECT_EQ(ReadFileBytes(AlbumList()), kAlbumList);
}

// A list the user declined to overwrite was not saved: its page stays for a save by hand.
TEST_F(CalcViewTest, AutoSaveCloseKeepsThePageWhenTheOverwriteWasDeclined) {
  MainForm->AutoSaveDirCheckBox.SetChecked(true);
  MainForm->AutoSaveCloseCheckBox.SetChecked(true);
  MainForm->Show();  // closing the last page must not end the test program
  Album();
  WriteListFile(AlbumList(), "old");
  boxAnswer = IDCANCEL;
  Calc({Root() + "album"});
  EXPECT_EQ(CalcForm->PageCount(), 1);
  EXPECT_TRUE(CalcForm->Visible());
  boxAnswer = IDOK;
  Calc({Root() + "album"});
  EXPECT_EQ(CalcForm->PageCount(), 1);  // the new page was saved and closed
}

struct SingleFileCase {
  THashType kind;
  bool binaryMode;
  const char* list;
  std::string text;
};

// A page that left files out is saved, but never closed unseen, and the end sounds as an error.
TEST_F(CalcViewTest, APageWithFilesLeftOutIsSavedButStaysOpen) {
  MainForm->AutoSaveDirCheckBox.SetChecked(true);
  MainForm->AutoSaveCloseCheckBox.SetChecked(true);
  MainForm->Show();
  MainForm->DoneBeepCheckBox.SetChecked(true);
  const std::string held = Put("album\\held.bin", "x");
  Album();
  const win::KernelHandle holder(CreateFileW(W(held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holder);
  Calc({Root() + "album"});
  ASSERT_EQ(CalcForm->PageCount(), 1);
  const TCalcFrame& page = *CalcForm->Frame(0);
  EXPECT_EQ(page.StateText(), kLeftOut);
  ASSERT_EQ(page.LeftOut.size(), 1u);
  EXPECT_EQ(page.LeftOut[0].reason, THashFailure::InUse);
  EXPECT_TRUE(Exists(AlbumList()));
  EXPECT_EQ(ReadFileBytes(AlbumList()).find("held.bin"), std::string::npos);
  EXPECT_EQ(beeps, (std::vector<UINT>{MB_ICONEXCLAMATION}));
}

TEST_F(CalcViewTest, OneLooseFileIsSavedUnderItsOwnName) {
  const SingleFileCase cases[] = {
      {THashType::CRC32, false, "movie.crc", ""},
      {THashType::MD5, false, "movie.md5", "900150983cd24fb0d6963f7d28e17f72 movie.avi\r\n"},
      // The binary-mode asterisk is no part of the file name (the file system refuses "*").
      {THashType::MD5, true, "movie.md5", "900150983cd24fb0d6963f7d28e17f72 *movie.avi\r\n"},
  };
  MainForm->AutoSaveFileCheckBox.SetChecked(true);
  const std::string movie = Put("x\\movie.avi", kAbc);
  for (const SingleFileCase& c : cases) {
    SCOPED_TRACE(c.list);
    DeleteFileA((Root() + "x\\movie.crc").c_str());
    DeleteFileA((Root() + "x\\movie.md5").c_str());
    MainForm->SetHashType(c.kind);
    MainForm->MD5BinaryModeCheckBox.SetChecked(c.binaryMode);
    Calc({movie});
    const std::string saved = ReadFileBytes(Root() + "x\\" + c.list);
    if (c.text.empty()) {
      EXPECT_TRUE(saved.starts_with("Name       CRC32     Bytes\r\n")) << saved;
    } else {
      EXPECT_EQ(saved, c.text);
    }
    EXPECT_TRUE(boxes.empty());
  }
}

// The SHA256 button, pressed by a real click, makes lists in the MD5 layout that follow the MD5
// options: the case of the digits, the binary-mode asterisk; they are saved as ".sha256".
TEST_F(CalcViewTest, TheSha256ButtonWritesDigestListsWithTheMd5Options) {
  struct Case {
    bool upper;
    bool binaryMode;
    std::string text;
  };
  const std::string abc = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
  const std::string b = "3e23e8160039594a33894f6564e1b1348bbd7a0088d42c4acb73eeaed59c009d";
  const auto upper = [](std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
  };
  const Case cases[] = {
      {false, false, abc + " a.txt\r\n" + b + " b.txt\r\n"},
      {true, false, upper(abc) + " a.txt\r\n" + upper(b) + " b.txt\r\n"},
      {false, true, abc + " *a.txt\r\n" + b + " *b.txt\r\n"},
  };
  MainForm->Show();
  MainForm->PageControl.SetActivePageIndex(0);
  apptest::PumpMessages();
  apptest::ClickWindow(MainForm->CalcSHA256Button.Handle());
  ASSERT_EQ(MainForm->GetHashType(), THashType::SHA256);
  MainForm->AutoSaveDirCheckBox.SetChecked(true);
  MainForm->AutoSaveForceOverwriteCheckBox.SetChecked(true);
  const std::string album = Album();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    MainForm->UpperMD5CheckBox.SetChecked(c.upper);
    MainForm->MD5BinaryModeCheckBox.SetChecked(c.binaryMode);
    // The list of the case before would be hashed as a file of the folder.
    DeleteFileA((album + "\\album.sha256").c_str());
    Calc({album});
    EXPECT_EQ(ReadFileBytes(album + "\\album.sha256"), c.text);
    EXPECT_FALSE(Exists(album + "\\album.md5"));
    EXPECT_TRUE(boxes.empty());
  }
}

TEST_F(CalcViewTest, LooseFilesAreSavedUnderTheirFoldersName) {
  MainForm->AutoSaveFileCheckBox.SetChecked(true);
  Calc({Put("x\\a.txt", kAbc), Put("x\\b.txt", "b")});
  EXPECT_TRUE(ReadFileBytes(Root() + "x\\x.crc").starts_with("Name   CRC32     Bytes\r\n"));
}

TEST_F(CalcViewTest, EachAutoSaveOptionCoversItsOwnKindOfPage) {
  Put("album\\a.txt", kAbc);
  const std::string loose = Put("x\\1.txt", "1");
  MainForm->AutoSaveFileCheckBox.SetChecked(true);
  // A list of one file is named after that file.
  const std::string albumList = Root() + "album\\a.crc";
  Calc({Root() + "album", loose});
  EXPECT_TRUE(Exists(Root() + "x\\1.crc"));
  EXPECT_FALSE(Exists(albumList));
  DeleteFileA((Root() + "x\\1.crc").c_str());

  MainForm->AutoSaveFileCheckBox.SetChecked(false);
  MainForm->AutoSaveDirCheckBox.SetChecked(true);
  Calc({Root() + "album", loose});
  EXPECT_FALSE(Exists(Root() + "x\\1.crc"));
  EXPECT_TRUE(Exists(albumList));
}

// A page without rows is neither saved (under an earlier page's name) nor closed.
TEST_F(CalcViewTest, APageWithoutRowsIsNotSavedAutomatically) {
  MainForm->Show();
  Calc({Album()});
  CalcForm->MenuViewClick();  // the text view now holds the album's list and defaults
  MainForm->AutoSaveFileCheckBox.SetChecked(true);
  MainForm->AutoSaveCloseCheckBox.SetChecked(true);
  Calc({Root() + "none.txt"});
  EXPECT_EQ(CalcForm->PageCount(), 2);
  EXPECT_FALSE(Exists(AlbumList()));
  EXPECT_TRUE(boxes.empty());
}

// The end of a run saves the page that ran, also when the user switched tabs meanwhile.
TEST_F(CalcViewTest, AutoSaveTakesThePageThatRanNotTheActiveOne) {
  MainForm->AutoSaveDirCheckBox.SetChecked(true);
  Album();
  Put("second\\c.txt", "c");
  Put("second\\d.txt", "d");
  const std::string secondRun = "Ruvo - Calc - Wait - " + Root() + "second";
  SlotTap tap(*CalcForm, [&](ui::Message& message) {
    if (SetTextOf(message) == secondRun) CalcForm->CalcPageControl.SetActivePageIndex(0);
  });
  Calc({Root() + "album", Root() + "second"});
  EXPECT_EQ(ReadFileBytes(AlbumList()), kAlbumList);
  EXPECT_TRUE(ReadFileBytes(Root() + "second\\second.crc").find("c.txt") != std::string::npos);
  EXPECT_TRUE(boxes.empty());  // album.crc was not written twice
}

struct FailureCase {
  const char* what;
  bool directory;  // a folder stands where the list would go, else a read-only list
};

// A failed automatic save ends the intake but leaves the window usable, and the old list intact.
TEST_F(CalcViewTest, AFailedAutoSaveEndsTheIntakeAndLeavesTheWindowUsable) {
  const FailureCase cases[] = {{"read-only list", false}, {"folder in the way", true}};
  MainForm->AutoSaveDirCheckBox.SetChecked(true);
  MainForm->AutoSaveForceOverwriteCheckBox.SetChecked(true);
  MainForm->Show();
  Album();
  Put("second\\c.txt", "c");
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.what);
    CalcForm->Hide();
    if (c.directory) {
      SetFileAttributesW(W(AlbumList()).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(W(AlbumList()).c_str());
      Folder("album\\album.crc");
    } else {
      WriteListFile(AlbumList(), "old");
      SetFileAttributesW(W(AlbumList()).c_str(), FILE_ATTRIBUTE_READONLY);
    }
    try {
      Calc({Root() + "album", Root() + "second"});
      ADD_FAILURE() << "no error";
    } catch (const TListFileError& error) {
      EXPECT_EQ(std::string(error.what()), ui::Utf8(u8"ファイル ") + AlbumList() + ui::Utf8(u8" を作成できません"));
    }
    if (!c.directory) {
      EXPECT_EQ(ReadFileBytes(AlbumList()), "old");
    }
    EXPECT_EQ(CalcForm->PageCount(), 1);  // the second folder's page was not made
    EXPECT_FALSE(CalcForm->InIntake());
    EXPECT_EQ(CalcForm->Caption(), "Ruvo - Calc - " + Root() + "album");
    CalcForm->MenuCancelClose.Click();  // Esc closes again
    EXPECT_FALSE(CalcForm->Visible());
  }
  RemoveDirectoryW(W(AlbumList()).c_str());
}

TEST_F(CalcViewTest, AFailedAutoSaveAfterADropIsReportedAndThePanelRestored) {
  MainForm->AutoSaveDirCheckBox.SetChecked(true);
  MainForm->AutoSaveForceOverwriteCheckBox.SetChecked(true);
  MainForm->Show();
  Album();
  Folder("album\\album.crc");
  ASSERT_TRUE(droptest::DropFiles(CalcForm->Handle(), {Root() + "album"}, POINT{10, 10}));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, ui::Utf8(u8"ファイル ") + AlbumList() + ui::Utf8(u8" を作成できません"));
  EXPECT_TRUE(boxes[0].flags & MB_ICONERROR);
  EXPECT_TRUE(MainForm->CalcPanel.Enabled());
  EXPECT_EQ(MainForm->CalcPanel.Caption(), ui::Utf8(u8"作成"));
  EXPECT_FALSE(CalcForm->InIntake());
  RemoveDirectoryW(W(AlbumList()).c_str());
}

TEST_F(CalcViewTest, WindowLayoutAndCommands) {
  EXPECT_EQ(CalcViewForm->Caption(), "Ruvo - Calc - Text");
  EXPECT_EQ(CalcViewForm->GetBorderStyle(), ui::BorderStyle::SizeableTool);
  const HWND edit = CalcViewForm->RichEdit.Handle();
  EXPECT_TRUE(GetWindowLongPtrW(edit, GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(CalcViewForm->RichEdit.Font().face.Value(), ui::Wide(u8"ＭＳ ゴシック"));
  EXPECT_EQ(CalcViewForm->RichEdit.Font().height, 12);
  ASSERT_EQ(CalcViewForm->PopupMenu.Count(), 4);
  EXPECT_EQ(CalcViewForm->MenuSave.Caption(), ui::Wide(u8"保存(&S)"));
  EXPECT_EQ(CalcViewForm->MenuCopy.Caption(), ui::Wide(u8"クリップボードにコピー(&C)"));
  EXPECT_TRUE(CalcViewForm->MenuSeparatorClose.IsSeparator());
  EXPECT_EQ(CalcViewForm->MenuClose.Caption(), ui::Wide(u8"閉じる(&C)"));
  EXPECT_EQ(CalcViewForm->MenuClose.GetShortcut(), (ui::Shortcut{.key = VK_ESCAPE}));

  CalcViewForm->SetBounds(0, 0, 408, 327);
  CalcViewForm->FormCreate();
  EXPECT_EQ(CalcViewForm->Left(), ui::ScreenWidth() / 2 - 408 / 2 + 32);
  EXPECT_EQ(CalcViewForm->Top(), ui::ScreenHeight() / 2 - 327 / 2 + 32);

  CalcViewForm->Show();
  PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  apptest::PumpMessages();
  EXPECT_FALSE(CalcViewForm->Visible());
}

}  // namespace
}  // namespace calctest
