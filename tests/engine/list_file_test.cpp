#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "core/listread.h"
#include "engine/list_file.h"
#include "support/scratch_folder.h"
#include "support/wide_path.h"
#include "win/handle.h"

namespace {

const std::string kMd5Line = "900150983cd24fb0d6963f7d28e17f72 a.txt";

struct ProbeCase {
  const char* label;
  std::string bytes;
  bool list;
};

class ProbeTest : public testing::TestWithParam<ProbeCase> {
 protected:
  ScratchFolder folder_;
};

TEST_P(ProbeTest, FirstBytesDecide) {
  folder_.AddFile("f", GetParam().bytes);
  EXPECT_EQ(IsChecksumListFile(folder_.File("f")), GetParam().list);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, ProbeTest,
    testing::Values(ProbeCase{"Table", "Name   CRC32     Bytes\r\n-  -  -\r\na  1  2\r\n", true},
                    // A file as short as the probe is judged whole.
                    ProbeCase{"TableHeaderOnly", "Name   CRC32     Bytes\r\n", false},
                    ProbeCase{"JustNameAndSpace", "Name ", false},
                    // A longer one by its first lines: the rest is read later.
                    ProbeCase{"LongTable", "Name  CRC  Bytes\r\n-  -  -\r\n" + std::string(300000, 'x'), true},
                    ProbeCase{"NameButNoHeader", "Name of the game\r\n" + std::string(300000, 'x'), false},
                    ProbeCase{"HeaderWithoutSeparator",
                              "Name  CRC32  Bytes\r\nno separator here\r\n" + std::string(300000, 'x'), false},
                    ProbeCase{"CommentFirst", "# sums\r\n\r\n" + kMd5Line + "\r\n", true},
                    ProbeCase{"TextFirst", "SHA-256 sums of release 1.2:\r\n" + kMd5Line + "\r\n", true},
                    // An entry beyond the first bytes is not looked for.
                    ProbeCase{"EntryBeyondTheProbe", std::string(200000, '#') + "\r\n" + kMd5Line + "\r\n", false},
                    ProbeCase{"Sha256Line", std::string(64, 'a') + "  a.txt\n", true},
                    ProbeCase{"BsdTag", "SHA1 (a.txt) = " + std::string(40, 'a') + "\n", true},
                    ProbeCase{"NameWithoutSpace", "Name", false},
                    ProbeCase{"NameLowerCase", "name  CRC  Bytes\r\n", false},
                    ProbeCase{"ByteOrderMark", "\xEF\xBB\xBFName  CRC  Bytes\r\n-  -  -\r\na  1  2\r\n", true},
                    ProbeCase{"BlankLineFirst", "\r\nName  CRC  Bytes\r\n-  -  -\r\na  1  2\r\n", true},
                    ProbeCase{"Md5Line", kMd5Line + "\r\n", true},
                    ProbeCase{"Md5LineOf33Bytes", kMd5Line.substr(0, 33), true},
                    ProbeCase{"LoneDigest", kMd5Line.substr(0, 32), true},
                    ProbeCase{"Md5TabSeparated", "900150983cd24fb0d6963f7d28e17f72\ta.txt", false},
                    ProbeCase{"Empty", "", false}, ProbeCase{"Text", "hello world, this is no list at all\r\n", false}),
    [](const testing::TestParamInfo<ProbeCase>& p) { return std::string(p.param.label); });

TEST(ProbeFailures, UnopenableFilesAreNoLists) {
  ScratchFolder folder;
  EXPECT_FALSE(IsChecksumListFile(folder.File("missing.crc")));
  EXPECT_FALSE(IsChecksumListFile(folder.Path()));  // a folder
  folder.AddFile("held.crc", "Name  CRC  Bytes\r\n");
  // Another program writing the list: the probe refuses writers, so the list is not read.
  const win::KernelHandle writer(CreateFileW(W(folder.File("held.crc")).c_str(), GENERIC_WRITE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(writer.valid());
  EXPECT_FALSE(IsChecksumListFile(folder.File("held.crc")));
  std::string bytes;
  EXPECT_FALSE(LoadChecksumList(folder.File("held.crc"), bytes));
}

struct LoadCase {
  const char* label;
  std::string bytes;
  bool loads;
};

class LoadTest : public testing::TestWithParam<LoadCase> {
 protected:
  ScratchFolder folder_;
};

TEST_P(LoadTest, WholeFileOrNothing) {
  folder_.AddFile("f", GetParam().bytes);
  std::string bytes = "left over";
  EXPECT_EQ(LoadChecksumList(folder_.File("f"), bytes), GetParam().loads);
  EXPECT_EQ(bytes, GetParam().loads ? GetParam().bytes : "");
}

std::string Repeat(const std::string& line, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += line;
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LoadTest,
    testing::Values(
        LoadCase{"MixedLineEnds", "Name  CRC  Bytes\r\n----  ----  -----\na.txt  61DA  3\rb  0000  1\r\n", true},
        LoadCase{"Md5WithoutFinalLineEnd", kMd5Line + "\n" + kMd5Line, true},
        // Many blocks long: read to its end.
        LoadCase{"LargeMd5List", Repeat(kMd5Line + "\r\n", 5000), true},
        // What the probe passed is read whole; its lines are for the reader to judge.
        LoadCase{"TableThenAnything", "Name  CRC32  Bytes\r\n-  -  -\r\n" + std::string(100000, 'x'), true}),
    [](const testing::TestParamInfo<LoadCase>& p) { return std::string(p.param.label); });

TEST(LoadGuard, AFileLargerThanAnyListIsNotLoaded) {
  ScratchFolder folder;
  folder.AddFile("big.md5", kMd5Line + "\r\n");
  {
    const win::KernelHandle file(
        CreateFileW(W(folder.File("big.md5")).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(kMaxChecksumListBytes) + 1;
    ASSERT_TRUE(SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get()));
  }
  EXPECT_TRUE(IsChecksumListFile(folder.File("big.md5")));
  std::string bytes;
  EXPECT_FALSE(LoadChecksumList(folder.File("big.md5"), bytes));
}

}  // namespace
