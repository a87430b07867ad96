// Which pages and lists an intake makes, from a real folder tree.
#include "engine/intake.h"

#include <gtest/gtest.h>

#include <stop_token>

#include "engine/list_document.h"
#include "support/scratch_folder.h"

namespace {

// These folders can all be listed.
const TFolderFailed kListedWhole = [](const TLeftOutPath& folder) { ADD_FAILURE() << folder.path; };

struct Page {
  std::vector<std::string> files;
  std::string folder;
  bool operator==(const Page&) const = default;
};

class IntakeTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_.AddFolder("d");
    folder_.AddFolder("d\\e");
    loose_ = folder_.AddFile("z.txt");
    folder_.AddFile("d\\B.txt");
    folder_.AddFile("d\\a.txt");
    folder_.AddFile("d\\e\\c.txt");
  }

  // The pages a drop of z.txt and the folder d makes.
  std::vector<Page> Pages(bool dirList, bool recursive) {
    std::vector<std::string> paths{folder_.File("d"), loose_};
    const TIntakePaths intake = SortIntake(paths);
    std::vector<Page> pages;
    PlanCreationPages(intake, dirList, recursive, [&](const TPageFiles& page, const std::string& folder) {
      pages.push_back({page.files, folder});
    });
    return pages;
  }

  ScratchFolder folder_;
  std::string loose_;
};

TEST_F(IntakeTest, CreationPagesByFolderOrTogether) {
  const std::string d = folder_.File("d\\");
  struct Case {
    bool dirList, recursive;
    std::vector<Page> pages;
  };
  const Case cases[] = {
      {true, true, {{{loose_}, ""}, {{d + "a.txt", d + "B.txt"}, d}, {{d + "e\\c.txt"}, d + "e\\"}}},
      {true, false, {{{loose_}, ""}, {{d + "a.txt", d + "B.txt"}, d}}},
      {false, true, {{{loose_, d + "a.txt", d + "B.txt", d + "e\\c.txt"}, ""}}},
      {false, false, {{{loose_, d + "a.txt", d + "B.txt"}, ""}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Pages(c.dirList, c.recursive), c.pages) << c.dirList << c.recursive;
  }
}

TEST_F(IntakeTest, VerificationListsNoFolderOnceCancelled) {
  std::vector<std::string> paths{folder_.File("d"), loose_};
  const TIntakePaths intake = SortIntake(paths);
  EXPECT_EQ(paths[0], folder_.File("d\\")) << "the caller's paths take their long form";
  std::vector<std::pair<std::size_t, bool>> calls;
  std::stop_source cancel;
  PlanVerificationLists(
      intake, true,
      [&](const std::vector<std::string>& files, bool reportNonLists) {
        calls.emplace_back(files.size(), reportNonLists);
        if (calls.size() == 2) cancel.request_stop();  // cancelled while the lists of d are open
      },
      kListedWhole, cancel.get_token());
  EXPECT_EQ(calls, (std::vector<std::pair<std::size_t, bool>>{{1, true}, {2, false}}));
}

TEST(ListDocument, SavePathsAndWhenAutoSaveApplies) {
  const std::vector<ChecksumRow> rows{{.Name = "a.txt", .Hash = "352441C2", .Bytes = "3"}};
  const TRunOptions options{.autoSaveDir = true, .defaultExtCRC = "sfv"};
  const TListDocument document = MakeListDocument(THashType::CRC32, rows, "C:\\data", "Total", options);
  EXPECT_EQ(AutoSavePath(document), "C:\\data\\a.sfv");
  EXPECT_EQ(AutoSavePath({.bytes = "x", .text = "x", .folder = "", .fileName = "a", .ext = "crc"}), "a.crc");
  EXPECT_EQ(AutoSavePath({.bytes = "x", .text = "x", .folder = "C:", .fileName = "", .ext = "crc"}), "C:\\.crc");
  EXPECT_FALSE(MakeListDocument(THashType::CRC32, {}, "C:\\data", "Total", options).HasList());
  EXPECT_TRUE(AutoSaveApplies(options, true));
  EXPECT_FALSE(AutoSaveApplies(options, false));
}

}  // namespace

namespace {

// A long listing takes breaks (in which the window's messages run) every few hundred entries,
// and yields the same pages and lists as without them; a nested listing inside a break is its
// own.
TEST(IntakeBreaks, LongFoldersAreListedWithBreaksAndTheSameResult) {
  ScratchFolder folder;
  constexpr int kFiles = 600;
  folder.AddFolder("big");
  folder.AddFolder("small");
  for (int i = 0; i < kFiles; ++i) folder.AddFile("big\\f" + std::to_string(i) + ".bin");
  folder.AddFile("small\\only.bin");
  std::vector<std::string> paths{folder.File("big"), folder.File("small")};
  const TIntakePaths intake = SortIntake(paths);

  const auto pages = [&](const win::ListingBreak& takeBreak) {
    std::vector<std::vector<std::string>> made;
    PlanCreationPages(
        intake, true, false, [&](const TPageFiles& page, const std::string&) { made.push_back(page.files); },
        takeBreak);
    return made;
  };
  const auto lists = [&](const win::ListingBreak& takeBreak) {
    std::vector<std::vector<std::string>> opened;
    PlanVerificationLists(
        intake, false, [&](const std::vector<std::string>& files, bool) { opened.push_back(files); }, kListedWhole, {},
        takeBreak);
    return opened;
  };

  int breaks = 0;
  std::size_t nestedFiles = 0;
  const win::ListingBreak takeBreak = [&] {
    if (++breaks == 1) nestedFiles = SearchFolder(folder.File("big"), false).files.size();
  };
  const auto withBreaks = pages(takeBreak);
  // Listing and sorting 600 entries: two breaks each at the least.
  EXPECT_GE(breaks, 2 * (kFiles / static_cast<int>(win::kEntriesPerBreak)));
  EXPECT_EQ(nestedFiles, static_cast<std::size_t>(kFiles));
  EXPECT_EQ(withBreaks, pages({}));
  ASSERT_EQ(withBreaks.size(), 3u);  // the loose files' page, then one per folder
  EXPECT_EQ(withBreaks[1].size(), static_cast<std::size_t>(kFiles));

  breaks = 0;
  EXPECT_EQ(lists(takeBreak), lists({}));
  EXPECT_GE(breaks, 2 * (kFiles / static_cast<int>(win::kEntriesPerBreak)));
}

}  // namespace
