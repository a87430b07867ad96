// Folders that cannot be listed and lists that cannot be read, made to fail on purpose: each
// failure is a row or a line and an exit code, never a silent success.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/utf8.h"
#include "engine/batch_run.h"
#include "engine/intake.h"
#include "engine/list_file.h"
#include "support/outcome_recorder.h"
#include "support/scratch_folder.h"
#include "support/wide_path.h"
#include "win/fault_injection.h"
#include "win/handle.h"

namespace {

using win::FaultCall;
using win::InjectedFault;

const std::string kGoodList = "900150983cd24fb0d6963f7d28e17f72  a.txt\n";  // MD5 of "abc"

std::string Line(const std::string& path, std::u8string_view what) { return path + "\t" + AsUtf8String(what); }

struct ListReadCase {
  const char* label;
  FaultCall call;
  DWORD error;
  THashFailure failure;
};

class ListReadFault : public testing::TestWithParam<ListReadCase> {};

TEST_P(ListReadFault, IsUnreadableNotNoList) {
  ScratchFolder scratch;
  const std::string list = scratch.AddFile("sums.md5", kGoodList);
  const ListReadCase& c = GetParam();
  const InjectedFault fault(c.call, "sums.md5", c.error);
  const TListRead read = ReadChecksumList(list);
  EXPECT_EQ(read.failure, c.failure);
  EXPECT_EQ(read.list.Kind(), THashType::None);
  EXPECT_FALSE(IsChecksumListFile(list));
}

INSTANTIATE_TEST_SUITE_P(
    Engine, ListReadFault,
    testing::Values(
        ListReadCase{"OpenAccessDenied", FaultCall::Open, ERROR_ACCESS_DENIED, THashFailure::AccessDenied},
        ListReadCase{"OpenSharingViolation", FaultCall::Open, ERROR_SHARING_VIOLATION, THashFailure::InUse},
        ListReadCase{"OpenNetworkNameDeleted", FaultCall::Open, ERROR_NETNAME_DELETED, THashFailure::ReadError},
        ListReadCase{"ReadNetworkNameDeleted", FaultCall::Read, ERROR_NETNAME_DELETED, THashFailure::ReadError}),
    [](const testing::TestParamInfo<ListReadCase>& p) { return std::string(p.param.label); });

TEST(ListRead, ListsNoListsAndFilesHeldByOthers) {
  ScratchFolder scratch;
  const TListRead list = ReadChecksumList(scratch.AddFile("sums.md5", kGoodList));
  EXPECT_EQ(list.failure, THashFailure::None);
  EXPECT_EQ(list.list.Kind(), THashType::MD5);
  const TListRead notes = ReadChecksumList(scratch.AddFile("notes.txt", "no list here\r\n"));
  EXPECT_EQ(notes.failure, THashFailure::None);
  EXPECT_EQ(notes.list.Kind(), THashType::None);
  EXPECT_EQ(ReadChecksumList(scratch.File("missing.md5")).failure, THashFailure::NotFound);
  // Another program writing the list: not read, and said so.
  const std::string held = scratch.AddFile("held.md5", kGoodList);
  const win::KernelHandle writer(CreateFileW(W(held).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(writer.valid());
  EXPECT_EQ(ReadChecksumList(held).failure, THashFailure::InUse);
}

// A tree of two lists: data\good.md5 and data\sub\more.md5, both right about their a.txt.
class BatchFault : public testing::Test {
 protected:
  void SetUp() override {
    scratch_.AddFolder("data");
    scratch_.AddFolder("data\\sub");
    for (const char* folder : {"data\\", "data\\sub\\"}) scratch_.AddFile(std::string(folder) + "a.txt", "abc");
    good_ = scratch_.AddFile("data\\good.md5", kGoodList);
    more_ = scratch_.AddFile("data\\sub\\more.md5", kGoodList);
    data_ = scratch_.File("data");
    sub_ = scratch_.File("data\\sub\\");
  }

  TBatchExit Verify(std::vector<std::string> paths, bool recursive = true) {
    lines_.clear();
    return RunBatchVerification(std::move(paths), {.kind = THashType::None, .dirRecursive = recursive}, ",",
                                [&](std::string_view line) { lines_.emplace_back(line); }, {});
  }
  TBatchExit Create(std::vector<std::string> paths, bool dirList) {
    lines_.clear();
    return RunBatchCreation(
        std::move(paths),
        {.kind = THashType::CRC32, .autoSaveForceOverwrite = true, .dirList = dirList, .dirRecursive = true}, ",",
        [&](std::string_view line) { lines_.emplace_back(line); }, {});
  }
  bool Said(const std::string& line) const { return std::find(lines_.begin(), lines_.end(), line) != lines_.end(); }
  std::string Lines() const {
    std::string all;
    for (const std::string& line : lines_) all += line + "\n";
    return all;
  }

  ScratchFolder scratch_;
  std::string good_, more_, data_, sub_;
  std::vector<std::string> lines_;
};

TEST_F(BatchFault, VerificationWithoutFaultsIsCorrect) {
  EXPECT_EQ(Verify({data_}), TBatchExit::Correct) << Lines();
  EXPECT_EQ(lines_.size(), 2u) << Lines();
}

TEST_F(BatchFault, VerificationFailuresAreLinesAndExitCodes) {
  struct Case {
    const char* label;
    FaultCall call;
    std::string pathEnd;
    DWORD error;
    std::vector<std::string> paths;
    TBatchExit exit;
    std::string line;
  };
  const std::u8string denied = UnreadableText(u8"アクセス拒否");
  const std::u8string inUse = UnreadableText(u8"使用中");
  const std::u8string readError = UnreadableText(u8"読込エラー");
  const std::vector<Case> cases = {
      {"named list in use",
       FaultCall::Open,
       "good.md5",
       ERROR_SHARING_VIOLATION,
       {good_},
       TBatchExit::Unusable,
       Line(good_, inUse)},
      {"named list cut off",
       FaultCall::Read,
       "good.md5",
       ERROR_NETNAME_DELETED,
       {good_, more_},
       TBatchExit::Unusable,
       Line(good_, readError)},
      {"a folder's list denied",
       FaultCall::Open,
       "more.md5",
       ERROR_ACCESS_DENIED,
       {data_},
       TBatchExit::Failed,
       Line(more_, denied)},
      {"named folder denied",
       FaultCall::ListFirst,
       "\\data\\",
       ERROR_ACCESS_DENIED,
       {data_},
       TBatchExit::Unusable,
       Line(data_ + "\\", denied)},
      {"sub-folder denied",
       FaultCall::ListFirst,
       "\\sub\\",
       ERROR_ACCESS_DENIED,
       {data_},
       TBatchExit::Failed,
       Line(sub_, denied)},
      {"sub-folder cut off",
       FaultCall::ListNext,
       "\\sub\\",
       ERROR_NETNAME_DELETED,
       {data_},
       TBatchExit::Failed,
       Line(sub_, readError)},
  };
  for (const Case& c : cases) {
    const InjectedFault fault(c.call, c.pathEnd, c.error);
    EXPECT_EQ(Verify(c.paths), c.exit) << c.label << "\n" << Lines();
    EXPECT_TRUE(Said(c.line)) << c.label << "\n" << Lines();
    EXPECT_FALSE(Said(Line(data_ + "\\", u8"チェックサムリストがありません"))) << c.label << "\n" << Lines();
  }
}

// Looking for the files that a list does not name, a folder that cannot be listed is a row too.
TEST_F(BatchFault, UnlistedFilesNameTheFoldersThatCannotBeListed) {
  const std::string list =
      scratch_.AddFile("data\\both.md5", kGoodList + "900150983cd24fb0d6963f7d28e17f72  sub\\a.txt\n");
  const auto verify = [&] {
    lines_.clear();
    return RunBatchVerification({list}, {.compareUnlisted = true}, ",",
                                [&](std::string_view line) { lines_.emplace_back(line); }, {});
  };
  const std::string denied = AsUtf8String(UnreadableText(u8"アクセス拒否"));
  EXPECT_EQ(verify(), TBatchExit::Failed) << "good.md5 and sub\\more.md5 are unlisted";
  EXPECT_EQ(Lines().find(AsUtf8String(u8"読めません")), std::string::npos) << Lines();
  struct Case {
    std::string pathEnd;
    std::string name;
  };
  for (const Case& c : {Case{"\\sub\\", "sub\\"}, Case{"\\data\\", data_ + "\\"}}) {
    const InjectedFault fault(FaultCall::ListFirst, c.pathEnd, ERROR_ACCESS_DENIED);
    EXPECT_EQ(verify(), TBatchExit::Failed) << c.name;
    EXPECT_TRUE(Said(list + "\t" + c.name + "\t" + denied)) << c.name << "\n" << Lines();
  }
}

TEST_F(BatchFault, CreationFailuresAreLeftOutAndExitCodes) {
  struct Case {
    const char* label;
    FaultCall call;
    std::string pathEnd;
    DWORD error;
    bool dirList;
    TBatchExit exit;
    std::string line;
  };
  const std::vector<Case> cases = {
      {"sub-folder denied", FaultCall::ListFirst, "\\sub\\", ERROR_ACCESS_DENIED, false, TBatchExit::Failed,
       Line(sub_, u8"アクセス拒否")},
      {"sub-folder denied, a list each", FaultCall::ListFirst, "\\sub\\", ERROR_ACCESS_DENIED, true, TBatchExit::Failed,
       Line(sub_, u8"アクセス拒否")},
      {"sub-folder cut off", FaultCall::ListNext, "\\sub\\", ERROR_NETNAME_DELETED, false, TBatchExit::Failed,
       Line(sub_, u8"読込エラー")},
      {"named folder denied", FaultCall::ListFirst, "\\data\\", ERROR_ACCESS_DENIED, true, TBatchExit::Unusable,
       Line(data_ + "\\", u8"アクセス拒否")},
      {"a file in use", FaultCall::Open, "sub\\a.txt", ERROR_SHARING_VIOLATION, false, TBatchExit::Failed,
       Line(sub_ + "a.txt", u8"使用中")},
      {"a file cut off", FaultCall::Read, "sub\\a.txt", ERROR_NETNAME_DELETED, true, TBatchExit::Failed,
       Line(sub_ + "a.txt", u8"読込エラー")},
  };
  for (const Case& c : cases) {
    const InjectedFault fault(c.call, c.pathEnd, c.error);
    EXPECT_EQ(Create({data_}, c.dirList), c.exit) << c.label << "\n" << Lines();
    EXPECT_TRUE(Said(c.line)) << c.label << "\n" << Lines();
  }
}

TEST_F(BatchFault, CreationPageShowsTheUnlistedFolderFirst) {
  const InjectedFault fault(FaultCall::ListFirst, "\\sub\\", ERROR_ACCESS_DENIED);
  std::vector<std::string> paths{data_};
  const TIntakePaths intake = SortIntake(paths);
  std::vector<TPageFiles> pages;
  PlanCreationPages(intake, false, true, [&](const TPageFiles& page, const std::string&) { pages.push_back(page); });
  ASSERT_EQ(pages.size(), 1u);
  ASSERT_EQ(pages[0].unlistedFolders.size(), 1u);
  EXPECT_EQ(pages[0].unlistedFolders[0].path, sub_);
  EXPECT_EQ(pages[0].unlistedFolders[0].reason, THashFailure::AccessDenied);
  OutcomeRecorder recorder;
  const TRunResult result =
      RunCreation(pages[0], BaseFolderOf(pages[0]), {.kind = THashType::CRC32}, ",", recorder, {});
  EXPECT_EQ(result.leftOut, 1u);
  ASSERT_FALSE(recorder.leftOut.empty());
  EXPECT_EQ(recorder.leftOut[0], std::make_pair(sub_, THashFailure::AccessDenied));
  EXPECT_EQ(recorder.rows.size(), 2u) << "data's a.txt and good.md5";
}

TEST_F(BatchFault, VerificationNamesEachUnlistedFolderOnce) {
  const InjectedFault fault(FaultCall::ListFirst, "\\sub\\", ERROR_ACCESS_DENIED);
  std::vector<std::string> paths{data_};
  const TIntakePaths intake = SortIntake(paths);
  std::vector<TLeftOutPath> failed;
  std::vector<std::string> files;
  PlanVerificationLists(
      intake, true, [&](const std::vector<std::string>& f, bool) { files.insert(files.end(), f.begin(), f.end()); },
      [&](const TLeftOutPath& folder) { failed.push_back(folder); }, {});
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0].path, sub_);
  EXPECT_EQ(failed[0].reason, THashFailure::AccessDenied);
  EXPECT_EQ(std::count(files.begin(), files.end(), more_), 0);
}

}  // namespace
