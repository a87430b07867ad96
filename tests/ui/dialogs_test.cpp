#include "ui/dialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/text.h"
#include "ui_test_support.h"

namespace {

TEST(Dialogs, PipeFiltersBecomeDoubleZeroLists) {
  struct Case {
    std::wstring_view pipes;
    std::wstring expected;
  };
  const Case cases[] = {
      {L"crcファイル(*.crc)|*.crc", std::wstring(L"crcファイル(*.crc)\0*.crc\0\0", 22)},
      {L"a|*.a|b|*.b", std::wstring(L"a\0*.a\0b\0*.b\0\0", 13)},
      {L"", std::wstring(L"\0\0", 2)},
  };
  for (const Case& c : cases) EXPECT_EQ(ui::DialogFilter(c.pipes), c.expected);
}

TEST(Dialogs, AMessageBoxHookAnswersInsteadOfTheDialog) {
  ui_test::MessageBoxRecorder boxes(IDCANCEL);
  const std::string path = "C:\\music\\album\\album.crc";
  const int answer =
      ui::MessageBox(path + ui::Utf8(u8"に上書きしますか?"), u8"Ruvo - 自動保存", MB_ICONINFORMATION | MB_OKCANCEL);
  EXPECT_EQ(answer, IDCANCEL);
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].text, L"C:\\music\\album\\album.crcに上書きしますか?");
  EXPECT_EQ(boxes.requests[0].caption, L"Ruvo - 自動保存");
  EXPECT_EQ(boxes.requests[0].flags, static_cast<UINT>(MB_ICONINFORMATION | MB_OKCANCEL));
}

TEST(Dialogs, ASaveDialogHookSeesTheDefaultsAndChoosesTheFile) {
  ui::SaveDialog dialog;
  dialog.SetFilter(ui::Utf8(u8"md5ファイル(*.md5)|*.md5"));
  dialog.SetInitialDir("C:\\x");
  dialog.SetFileName("movie");
  dialog.SetDefaultExt("md5");
  std::wstring seenFilter;
  std::string seenFolder, seenName, seenExt;
  auto previous = ui::SetSaveDialogHook([&](ui::SaveDialog& running) {
    seenFilter = running.Filter();
    seenFolder = running.InitialDir();
    seenName = running.FileName();
    seenExt = running.DefaultExt();
    running.SetFileName("C:\\x\\\xE8\xA1\xA8.md5");  // 表.md5
    return true;
  });
  EXPECT_TRUE(dialog.Execute());
  ui::SetSaveDialogHook(std::move(previous));
  EXPECT_EQ(seenFilter, L"md5ファイル(*.md5)|*.md5");
  EXPECT_EQ(seenFolder, "C:\\x");
  EXPECT_EQ(seenName, "movie");
  EXPECT_EQ(seenExt, "md5");
  EXPECT_EQ(dialog.FileName(), "C:\\x\\\xE8\xA1\xA8.md5");
  EXPECT_EQ(dialog.Options() & (OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLESIZING),
            static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLESIZING));
}

// The open dialog's answer: one full path alone, or the folder and then the names in it; it ends at
// the first empty text, whatever follows in the buffer.
TEST(Dialogs, OpenDialogAnswersSplitIntoFullPaths) {
  using namespace std::string_literals;
  struct Case {
    std::wstring answer;
    std::vector<std::string> paths;
  };
  const std::string table = "\xE8\xA1\xA8";  // 表
  const std::string longFolder = "C:\\" + std::string(300, 'd');
  const Case cases[] = {
      {L"C:\\data\\a.md5\0\0"s, {"C:\\data\\a.md5"}},
      {L"C:\\data\0a.md5\0b.sfv\0\0"s, {"C:\\data\\a.md5", "C:\\data\\b.sfv"}},
      {L"C:\\\0a.md5\0b\0\0"s, {"C:\\a.md5", "C:\\b"}},
      {L"\\\\server\\share\0\x8868.txt\0\0"s, {"\\\\server\\share\\" + table + ".txt"}},
      {ui::WideFromUtf8(longFolder) + L"\0x\0y\0\0"s, {longFolder + "\\x", longFolder + "\\y"}},
      {L"C:\\d\0a\0\0stale\0\0"s, {"C:\\d\\a"}},
      {L"C:\\d\0a\0b"s, {"C:\\d\\a", "C:\\d\\b"}},
      {L"\0\0"s, {}},
      {L""s, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ui::OpenDialogPaths(c.answer), c.paths) << ui::Utf8FromWide(c.answer);
}

}  // namespace
