// The failures that tests inject reach the callers as the system's own would.
#include "win/fault_injection.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "support/scratch_folder.h"
#include "win/file.h"
#include "win/folder.h"

namespace win {
namespace {

struct ListingCase {
  const char* label;
  FaultCall call;
  DWORD error;
  std::size_t filesKept;  // of the folder's two
};

class ListingFault : public testing::TestWithParam<ListingCase> {};

TEST_P(ListingFault, EndsTheListingWithItsError) {
  ScratchFolder scratch;
  scratch.AddFile("a.txt", "a");
  scratch.AddFile("b.txt", "b");
  const ListingCase& c = GetParam();
  const InjectedFault fault(c.call, scratch.Path(), c.error);
  const FolderListing listing = ListFolder(scratch.Path(), true);
  EXPECT_EQ(listing.error, c.error);
  // Wine and Windows give "." first: a listing cut after its first entry keeps no file.
  EXPECT_LE(listing.files.size(), c.filesKept);
}

INSTANTIATE_TEST_SUITE_P(
    Win, ListingFault,
    testing::Values(ListingCase{"FirstAccessDenied", FaultCall::ListFirst, ERROR_ACCESS_DENIED, 0},
                    ListingCase{"FirstNetworkNameDeleted", FaultCall::ListFirst, ERROR_NETNAME_DELETED, 0},
                    ListingCase{"NextNetworkNameDeleted", FaultCall::ListNext, ERROR_NETNAME_DELETED, 1},
                    ListingCase{"NextAccessDenied", FaultCall::ListNext, ERROR_ACCESS_DENIED, 1}),
    [](const testing::TestParamInfo<ListingCase>& p) { return std::string(p.param.label); });

TEST(ListingFault, NotFoundAndNoMoreFilesAreEnds) {
  ScratchFolder scratch;
  scratch.AddFile("a.txt", "a");
  for (const DWORD error : {DWORD{ERROR_FILE_NOT_FOUND}, DWORD{ERROR_PATH_NOT_FOUND}}) {
    const InjectedFault fault(FaultCall::ListFirst, scratch.Path(), error);
    const FolderListing listing = ListFolder(scratch.Path(), false);
    EXPECT_EQ(listing.error, 0u) << error;
    EXPECT_TRUE(listing.files.empty());
  }
  const InjectedFault fault(FaultCall::ListNext, scratch.Path(), ERROR_NO_MORE_FILES);
  EXPECT_EQ(ListFolder(scratch.Path(), false).error, 0u);
}

TEST(ListingFault, OnlyTheNamedFolderFails) {
  ScratchFolder scratch;
  scratch.AddFile("a.txt", "a");
  scratch.AddFolder("sub");
  scratch.AddFile("sub\\b.txt", "b");
  const InjectedFault fault(FaultCall::ListFirst, "\\sub\\", ERROR_ACCESS_DENIED);
  const FolderListing outer = ListFolder(scratch.Path(), true);
  EXPECT_EQ(outer.error, 0u);
  EXPECT_EQ(outer.files, std::vector<std::string>{scratch.File("a.txt")});
  EXPECT_EQ(ListFolder(scratch.File("sub\\"), false).error, DWORD{ERROR_ACCESS_DENIED});
}

TEST(ListingFault, EndsWithItsScope) {
  ScratchFolder scratch;
  scratch.AddFile("a.txt", "a");
  { const InjectedFault fault(FaultCall::ListFirst, scratch.Path(), ERROR_ACCESS_DENIED); }
  const FolderListing listing = ListFolder(scratch.Path(), false);
  EXPECT_EQ(listing.error, 0u);
  EXPECT_EQ(listing.files.size(), 1u);
}

struct FileCase {
  const char* label;
  FaultCall call;
  DWORD error;
};

class FileFault : public testing::TestWithParam<FileCase> {};

TEST_P(FileFault, FailsOpenOrReadWithItsError) {
  ScratchFolder scratch;
  const std::string path = scratch.AddFile("a.txt", "abc");
  const FileCase& c = GetParam();
  const InjectedFault fault(c.call, "a.txt", c.error);
  InFile file;
  const bool opened = file.Open(path);
  EXPECT_EQ(opened, c.call != FaultCall::Open);
  if (!opened) {
    EXPECT_EQ(file.OpenError(), c.error);
    return;
  }
  char buffer[8];
  DWORD got = 0;
  EXPECT_FALSE(file.Read(buffer, sizeof buffer, got));
  EXPECT_EQ(GetLastError(), c.error);
  EXPECT_EQ(got, 0u);
  InFile second;
  ASSERT_TRUE(second.ReopenAt(file, 1));
  EXPECT_FALSE(second.ReadUpTo(buffer, sizeof buffer, got)) << "a file's other handle fails alike";
}

INSTANTIATE_TEST_SUITE_P(Win, FileFault,
                         testing::Values(FileCase{"OpenAccessDenied", FaultCall::Open, ERROR_ACCESS_DENIED},
                                         FileCase{"OpenSharingViolation", FaultCall::Open, ERROR_SHARING_VIOLATION},
                                         FileCase{"ReadNetworkNameDeleted", FaultCall::Read, ERROR_NETNAME_DELETED},
                                         FileCase{"ReadAccessDenied", FaultCall::Read, ERROR_ACCESS_DENIED}),
                         [](const testing::TestParamInfo<FileCase>& p) { return std::string(p.param.label); });

TEST(FileFault, OtherFilesOpenAndRead) {
  ScratchFolder scratch;
  const std::string path = scratch.AddFile("b.txt", "abc");
  const InjectedFault fault(FaultCall::Read, "a.txt", ERROR_NETNAME_DELETED);
  InFile file;
  ASSERT_TRUE(file.Open(path));
  char buffer[8];
  DWORD got = 0;
  EXPECT_TRUE(file.ReadUpTo(buffer, sizeof buffer, got));
  EXPECT_EQ(std::string(buffer, got), "abc");
}

}  // namespace
}  // namespace win
