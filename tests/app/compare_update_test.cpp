// "リストを更新" in the verification window: real keystrokes on a finished page, the question
// about changed files answered through the message box hook, and the list file read back.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/compare_form.h"
#include "app/compare_frame.h"
#include "app/compare_support.h"
#include "app/main_form.h"
#include "app/program_fixture.h"
#include "core/hex.h"
#include "engine/hash_file.h"
#include "engine/list_file.h"
#include "ui/dialogs.h"
#include "ui/text.h"

namespace {

std::string U8(const char8_t* text) { return ui::Utf8(text); }

class CompareUpdateTest : public testing::Test {
 protected:
  void SetUp() override {
    comparetest::ResetCompareForm();
    saved_ = ui::SetMessageBoxHook([this](const ui::MessageBoxRequest& request) {
      asked_.push_back(request);
      return answer_;
    });
  }
  void TearDown() override {
    ui::SetMessageBoxHook(saved_);
    comparetest::ResetCompareForm();
  }

  std::string Md5(const std::string& relative) {
    std::string hash;
    std::int64_t size = 0;
    EXPECT_EQ(HashFileChecked(THashType::MD5, folder_.File(relative), hash, size, nullptr, nullptr),
              THashFailure::None);
    return AsciiLower(hash);
  }

  // "hash  name" lines of the files, LF after each, as md5sum writes them.
  std::string Lines(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += Md5(name) + "  " + name + "\n";
    return text;
  }

  std::string ReadList() {
    std::string bytes;
    EXPECT_TRUE(LoadChecksumList(folder_.File("album.md5"), bytes));
    return bytes;
  }

  apptest::TempFolder folder_;
  ui::MessageBoxHook saved_;
  std::vector<ui::MessageBoxRequest> asked_;
  int answer_ = IDNO;
};

TEST_F(CompareUpdateTest, TheQuestionNamesTheChangedFileAndEachAnswerIsKept) {
  for (const int answer : {IDYES, IDNO, IDCANCEL}) {
    SCOPED_TRACE(answer);
    comparetest::ResetCompareForm();
    asked_.clear();
    answer_ = answer;
    folder_.Write("a.txt", "abc");
    folder_.Write("b.txt", "before");
    folder_.Write("gone.txt", "gone");
    const std::string oldB = Md5("b.txt");
    const std::string list = Lines({"a.txt", "b.txt", "gone.txt"});
    folder_.Write("album.md5", list);
    folder_.Write("b.txt", "after");
    DeleteFileW(ui::WideFromUtf8(folder_.File("gone.txt")).c_str());
    folder_.Write("new.txt", "new");

    std::vector<std::string> paths{folder_.File("album.md5")};
    CompareForm->CompareFiles(paths);
    ASSERT_EQ(CompareForm->PageCount(), 1);
    comparetest::PressChord('U', true, true);

    ASSERT_EQ(asked_.size(), 1u);
    EXPECT_NE(asked_[0].text.find(L"b.txt"), std::wstring::npos);
    EXPECT_EQ(asked_[0].text.find(L"a.txt"), std::wstring::npos);
    EXPECT_NE(asked_[0].caption.find(ui::Wide(u8"更新しますか")), std::wstring::npos);
    EXPECT_EQ(asked_[0].flags & MB_TYPEMASK, static_cast<UINT>(MB_YESNOCANCEL));

    const std::string now = ReadList();
    const std::string summary = CompareForm->Frame(0)->SummaryText();
    switch (answer) {
      case IDYES:
        EXPECT_EQ(now, Lines({"a.txt", "b.txt", "new.txt"}));
        EXPECT_NE(summary.find(U8(u8"リストを更新しました")), std::string::npos) << summary;
        break;
      case IDNO:
        EXPECT_EQ(now, Md5("a.txt") + "  a.txt\n" + oldB + "  b.txt\n" + Md5("new.txt") + "  new.txt\n");
        EXPECT_NE(summary.find(U8(u8"不一致 : 1")), std::string::npos) << summary;
        break;
      default:
        EXPECT_EQ(now, list);
        EXPECT_EQ(summary, U8(u8"更新しませんでした"));
        break;
    }
    DeleteFileW(ui::WideFromUtf8(folder_.File("new.txt")).c_str());
  }
}

TEST_F(CompareUpdateTest, AnUpToDateListIsLeftAsItIsWithoutAQuestion) {
  folder_.Write("a.txt", "abc");
  const std::string list = Lines({"a.txt"});
  folder_.Write("album.md5", list);
  std::vector<std::string> paths{folder_.File("album.md5")};
  CompareForm->CompareFiles(paths);
  ASSERT_EQ(CompareForm->PageCount(), 1);
  CompareForm->MenuUpdateListClick();
  EXPECT_TRUE(asked_.empty());
  EXPECT_EQ(ReadList(), list);
  EXPECT_NE(CompareForm->Frame(0)->SummaryText().find(U8(u8"変更はありません")), std::string::npos);
}

TEST_F(CompareUpdateTest, TheCommandLineUpdatesAfterVerifying) {
  folder_.Write("a.txt", "abc");
  folder_.Write("album.md5", Lines({"a.txt"}));
  folder_.Write("new.txt", "new");
  MainForm->ProcessCommandLine({"-update", folder_.File("album.md5")});
  EXPECT_TRUE(asked_.empty());
  EXPECT_EQ(ReadList(), Lines({"a.txt", "new.txt"}));
}

}  // namespace
