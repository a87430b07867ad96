// A download that is no list, and the list published beside it: which list is found, which row
// it gives, and what a batch run of the download says and exits with.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/utf8.h"
#include "core/verify.h"
#include "engine/batch_run.h"
#include "engine/sibling_list.h"
#include "support/scratch_folder.h"
#include "win/fault_injection.h"

namespace {

// "abc" as sha256sum, md5sum and an SFV give it, and "abd" as sha256sum does.
const std::string kAbcSha256 = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const std::string kAbcMd5 = "900150983cd24fb0d6963f7d28e17f72";
const std::string kAbdSha256 = "a52d159f262b2c6ddb724a61840befc36eb30c88877a4030b65cbe86298449c9";

struct SiblingCase {
  const char* label;
  std::vector<std::pair<std::string, std::string>> lists;  // name and text, beside setup.zip
  std::optional<std::string> found;                        // the list that names setup.zip
};

TEST(SiblingList, TheListBesideADownloadThatNamesIt) {
  const std::string sumsLine = kAbcSha256 + "  setup.zip\n";
  const SiblingCase cases[] = {
      {"FILE.sha256", {{"setup.zip.sha256", sumsLine}}, "setup.zip.sha256"},
      {"FILE.md5 with the binary mark", {{"setup.zip.md5", kAbcMd5 + " *setup.zip\n"}}, "setup.zip.md5"},
      {"FILE.sfv", {{"setup.zip.sfv", "; crc\r\nsetup.zip 352441C2\r\n"}}, "setup.zip.sfv"},
      {"SHA256SUMS among other names",
       {{"SHA256SUMS", kAbdSha256 + "  other.zip\n" + sumsLine + kAbdSha256 + "  more.zip\n"}},
       "SHA256SUMS"},
      {"md5sums.txt", {{"md5sums.txt", kAbcMd5 + "  setup.zip\n"}}, "md5sums.txt"},
      {"another list of the folder", {{"release.sha256", sumsLine}}, "release.sha256"},
      {"FILE.EXT before SUMS before others",
       {{"SHA256SUMS", sumsLine}, {"all.sha256", sumsLine}, {"setup.zip.sha256", sumsLine}},
       "setup.zip.sha256"},
      {"a list of the file's name that names another file goes by",
       {{"setup.zip.md5", kAbcMd5 + "  other.zip\n"}, {"SHA256SUMS", sumsLine}},
       "SHA256SUMS"},
      {"only lists that name other files", {{"SHA256SUMS", kAbdSha256 + "  other.zip\n"}}, std::nullopt},
      {"a name in another folder", {{"SHA256SUMS", kAbcSha256 + "  sub\\setup.zip\n"}}, std::nullopt},
      {"no list at all", {{"README.txt", "setup.zip\n"}}, std::nullopt},
  };
  for (const SiblingCase& c : cases) {
    SCOPED_TRACE(c.label);
    const ScratchFolder folder;
    const std::string download = folder.AddFile("setup.zip", "abc");
    for (const auto& [name, text] : c.lists) folder.AddFile(name, text);
    const TSiblingSearch search = FindSiblingList(download);
    EXPECT_TRUE(search.unread.empty());
    const std::optional<TSiblingEntry>& sibling = search.found;
    ASSERT_EQ(sibling.has_value(), c.found.has_value());
    if (!sibling) continue;
    EXPECT_EQ(sibling->listPath, folder.File(*c.found));
    ASSERT_EQ(sibling->entry.size(), 1u);
    EXPECT_EQ(sibling->entry.Entry(0).name, "setup.zip");
  }
}

// A list beside the download that cannot be read may have named it: when no other list does, it
// comes with its reason (in a batch run, a line before "not a list"); a list that names the file
// makes it no matter.
TEST(SiblingList, AListBesideItThatCannotBeReadIsReported) {
  const ScratchFolder folder;
  const std::string download = folder.AddFile("setup.zip", "abc");
  const std::string sums = folder.AddFile("SHA256SUMS", kAbcSha256 + "  setup.zip\n");
  const win::InjectedFault denied(win::FaultCall::Open, "SHA256SUMS", ERROR_ACCESS_DENIED);
  TSiblingSearch search = FindSiblingList(download);
  EXPECT_FALSE(search.found);
  ASSERT_EQ(search.unread.size(), 1u);
  EXPECT_EQ(search.unread[0].path, sums);
  EXPECT_EQ(search.unread[0].reason, THashFailure::AccessDenied);
  std::vector<std::string> lines;
  EXPECT_EQ(
      RunBatchVerification({download}, {}, ",", [&lines](std::string_view line) { lines.emplace_back(line); }, {}),
      TBatchExit::Unusable);
  EXPECT_EQ(lines, (std::vector<std::string>{sums + "\t" + AsUtf8String(UnreadableText(u8"アクセス拒否")),
                                             download + "\tチェックサムリストではありません"}));
  folder.AddFile("setup.zip.md5", kAbcMd5 + "  setup.zip\n");
  search = FindSiblingList(download);
  ASSERT_TRUE(search.found);
  EXPECT_EQ(search.found->listPath, folder.File("setup.zip.md5"));
  EXPECT_TRUE(search.unread.empty());
}

// ruvo.exe -q -c setup.zip: verified against the row of the list beside it; 0 when it matches,
// 1 when not, 2 when no list names it.
TEST(SiblingList, ABatchRunOfADownloadExitsWithItsVerdict) {
  const ScratchFolder folder;
  const std::string good = folder.AddFile("good.zip", "abc");
  const std::string bad = folder.AddFile("bad.zip", "abc");
  const std::string alone = folder.AddFile("alone.zip", "abc");
  const std::string sums = folder.AddFile("SHA256SUMS", kAbcSha256 + "  good.zip\n" + kAbdSha256 + "  bad.zip\n");
  struct Run {
    std::string file;
    TBatchExit exit;
    std::vector<std::string> lines;
  };
  const Run runs[] = {
      {good, TBatchExit::Correct, {sums + "\t" + "1ファイル (正常 : 1  異常 : 0)"}},
      {bad, TBatchExit::Failed, {sums + "\tbad.zip\tSHA256不一致", sums + "\t" + "1ファイル (正常 : 0  異常 : 1)"}},
      {alone, TBatchExit::Unusable, {alone + "\tチェックサムリストではありません"}},
  };
  for (const Run& run : runs) {
    SCOPED_TRACE(run.file);
    std::vector<std::string> lines;
    const TBatchExit exit = RunBatchVerification({run.file}, {.compareUnlisted = true}, ",",
                                                 [&lines](std::string_view line) { lines.emplace_back(line); }, {});
    EXPECT_EQ(exit, run.exit);
    EXPECT_EQ(lines, run.lines);
  }
}

}  // namespace
