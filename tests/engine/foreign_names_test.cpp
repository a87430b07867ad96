// Names from a list of somebody else: what they may make the program open and list.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "engine/unlisted_files.h"
#include "engine/verification_run.h"
#include "support/list_text.h"
#include "support/outcome_recorder.h"
#include "support/scratch_folder.h"
#include "support/wide_path.h"
#include "win/file_path.h"

namespace {

// Every path the file layer is given while it lives, from any thread.
class OpenedPaths {
 public:
  OpenedPaths() {
    win::OnFileSystemPath = [this](const std::wstring& path) {
      const std::lock_guard lock(mutex_);
      paths_.push_back(path);
    };
  }
  ~OpenedPaths() { win::OnFileSystemPath = nullptr; }
  OpenedPaths(const OpenedPaths&) = delete;
  OpenedPaths& operator=(const OpenedPaths&) = delete;

  std::vector<std::wstring> Paths() const {
    const std::lock_guard lock(mutex_);
    return paths_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::wstring> paths_;
};

// A row of a CRC32 table for a file holding "abc".
std::string AbcRow(const std::string& name) { return name + "  352441C2  3"; }

TEST(ForeignNames, RefusedNamesAreNeverOpened) {
  const ScratchFolder folder;
  folder.AddFile("a.txt", "abc");
  struct Case {
    std::string name;
    TVerifyResult result;
  };
  const std::vector<Case> cases = {
      {"a.txt", TVerifyResult::Correct},
      {"\\\\host\\share\\x", TVerifyResult::NetworkRefused},
      {"//host/share/x", TVerifyResult::NetworkRefused},
      {"\\\\?\\UNC\\host\\share\\y", TVerifyResult::NetworkRefused},
      {"\\\\.\\pipe\\x", TVerifyResult::BadName},
      {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\x", TVerifyResult::BadName},
      {"\\\\.\\PhysicalDrive0", TVerifyResult::BadName},
      {"\\??\\" + folder.File("a.txt"), TVerifyResult::BadName},
      {"\\\\?\\" + folder.File("a.txt"), TVerifyResult::BadName},
      {"a.txt:secret", TVerifyResult::BadName},
      {"*.txt", TVerifyResult::BadName},
      {"CON", TVerifyResult::BadName},
      {"missing.txt", TVerifyResult::OpenFailed},
  };
  std::vector<std::string> lines;
  std::vector<TVerifyResult> expected;
  for (const Case& c : cases) {
    lines.push_back(AbcRow(c.name));
    expected.push_back(c.result);
  }
  const ChecksumList list = ListOfLines(THashType::CRC32, lines);
  ASSERT_EQ(list.size(), cases.size());

  OutcomeRecorder recorder;
  const OpenedPaths opened;
  RunVerification(list, folder.Path(), {.showProcess = false, .workers = 2}, ",", recorder, {});
  EXPECT_EQ(recorder.results, expected);
  std::vector<std::wstring> paths = opened.Paths();
  std::sort(paths.begin(), paths.end());
  paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
  EXPECT_EQ(paths, (std::vector<std::wstring>{W(folder.File("a.txt")), W(folder.File("missing.txt"))}))
      << "only the two plain names reach the file layer";
}

// Unlisted files are looked for in the list's folder and below it, whatever its names reach.
TEST(ForeignNames, UnlistedFilesStayInTheListsFolder) {
  const ScratchFolder outside;
  outside.AddFile("foreign.txt", "abc");
  outside.AddFile("stranger.txt", "abc");
  const ScratchFolder folder;
  folder.AddFile("above.txt", "abc");
  folder.AddFolder("list");
  folder.AddFolder("list\\sub");
  folder.AddFile("list\\a.txt", "abc");
  folder.AddFile("list\\sub\\b.txt", "abc");
  folder.AddFile("list\\sub\\new.txt", "abc");
  const std::string listPath = folder.AddFile("list\\list.crc", "");
  const ChecksumList list =
      ListOfLines(THashType::CRC32, {AbcRow("a.txt"), AbcRow("sub\\b.txt"), AbcRow("..\\above.txt"),
                                     AbcRow(outside.File("foreign.txt")), AbcRow("\\\\host\\share\\x")});
  ASSERT_EQ(list.size(), 5u);

  const OpenedPaths opened;
  EXPECT_EQ(FindUnlistedFiles(list, listPath, {}).names, std::vector<std::string>{"sub\\new.txt"});
  const std::wstring listFolder = W(folder.File("list\\"));
  for (const std::wstring& path : opened.Paths()) {
    EXPECT_TRUE(path.starts_with(listFolder)) << "listed outside the list's folder: " << U8(path);
  }
}

}  // namespace
