#include "core/listtext.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Rows = std::vector<ChecksumRow>;
const char kTwoFilesTotal[] = "Total  2 Files  1,234,570 Bytes";

}  // namespace

TEST(RenderChecksumList, Crc32WorkedExample) {
  const Rows rows = {{"a.txt", "352441C2", "3"}, {"big.bin", "70986EF5", "1,234,567"}};
  EXPECT_EQ(RenderChecksumList(THashType::CRC32, rows, kTwoFilesTotal),
            "Name     CRC32     Bytes\r\n"
            "-------  --------  ---------\r\n"
            "a.txt    352441C2          3\r\n"
            "big.bin  70986EF5  1,234,567\r\n"
            "----------------------------\r\n"
            "Total  2 Files  1,234,570 Bytes\r\n");
}

TEST(RenderChecksumList, Crc16WorkedExample) {
  const Rows rows = {{"a.txt", "61DA", "3"}, {"big.bin", "07A2", "1,234,567"}};
  EXPECT_EQ(RenderChecksumList(THashType::CRC16, rows, kTwoFilesTotal),
            "Name     CRC   Bytes\r\n"
            "-------  ----  ---------\r\n"
            "a.txt    61DA          3\r\n"
            "big.bin  07A2  1,234,567\r\n"
            "------------------------\r\n"
            "Total  2 Files  1,234,570 Bytes\r\n");
}

TEST(RenderChecksumList, Md5WorkedExampleWithAndWithoutBinaryMode) {
  const Rows text = {{"a.txt", "900150983cd24fb0d6963f7d28e17f72", ""},
                     {"big.bin", "ec20dd727de8b769905be6e835ef9198", ""}};
  EXPECT_EQ(RenderChecksumList(THashType::MD5, text, "ignored"),
            "900150983cd24fb0d6963f7d28e17f72 a.txt\r\n"
            "ec20dd727de8b769905be6e835ef9198 big.bin\r\n");
  const Rows binary = {{"*a.txt", "900150983cd24fb0d6963f7d28e17f72", ""},
                       {"*big.bin", "ec20dd727de8b769905be6e835ef9198", ""}};
  EXPECT_EQ(RenderChecksumList(THashType::MD5, binary, "ignored"),
            "900150983cd24fb0d6963f7d28e17f72 *a.txt\r\n"
            "ec20dd727de8b769905be6e835ef9198 *big.bin\r\n");
  const Rows upper = {{"a b.txt", "900150983CD24FB0D6963F7D28E17F72", "3"}};
  EXPECT_EQ(RenderChecksumList(THashType::MD5, upper, ""), "900150983CD24FB0D6963F7D28E17F72 a b.txt\r\n");
  // A name that begins with a blank comes after GNU's two blanks, so that no reader cuts it.
  const Rows lead = {{" lead", "900150983cd24fb0d6963f7d28e17f72", ""},
                     {"* lead", "900150983cd24fb0d6963f7d28e17f72", ""}};
  EXPECT_EQ(RenderChecksumList(THashType::MD5, lead, ""),
            "900150983cd24fb0d6963f7d28e17f72   lead\r\n"
            "900150983cd24fb0d6963f7d28e17f72 * lead\r\n");
}

TEST(RenderChecksumList, MinimumWidthsAndOneRow) {
  const Rows rows = {{"a", "352441C2", "3"}};
  EXPECT_EQ(RenderChecksumList(THashType::CRC32, rows, "Total  1 Files  3 Bytes"),
            "Name  CRC32     Bytes\r\n"
            "----  --------  -----\r\n"
            "a     352441C2      3\r\n"
            "---------------------\r\n"
            "Total  1 Files  3 Bytes\r\n");
  const Rows four = {{"abcd", "61DA", "9,999"}};
  EXPECT_EQ(RenderChecksumList(THashType::CRC16, four, "T"),
            "Name  CRC   Bytes\r\n"
            "----  ----  -----\r\n"
            "abcd  61DA  9,999\r\n"
            "-----------------\r\n"
            "T\r\n");
}

TEST(RenderChecksumList, WidthsCountBytesOfDoubleByteNames) {
  // 写真.jpg = 0x8E 0xCA 0x90 0x5E ".jpg": 8 bytes; 表 = 0x95 0x5C (trail byte "\").
  const Rows rows = {{"\x8E\xCA\x90\x5E.jpg", "0000ABCD", "10"}, {"\x95\x5C", "FFFF0000", "1"}};
  EXPECT_EQ(RenderChecksumList(THashType::CRC32, rows, "T"),
            "Name      CRC32     Bytes\r\n"
            "--------  --------  -----\r\n"
            "\x8E\xCA\x90\x5E.jpg  0000ABCD     10\r\n"
            "\x95\x5C        FFFF0000      1\r\n"
            "-------------------------\r\n"
            "T\r\n");
}

TEST(RenderChecksumList, NamesWithSpacesAndFolderPartsAsTheyAre) {
  const Rows rows = {{"my file.txt", "61DA", "3"},
                     {"sub\\b.txt", "07A2", "1,234,567"},
                     {"..\\other\\c.txt", "0001", "0"},
                     {"D:\\x\\d.txt", "FFFF", "12"}};
  EXPECT_EQ(RenderChecksumList(THashType::CRC16, rows, "T"),
            "Name            CRC   Bytes\r\n"
            "--------------  ----  ---------\r\n"
            "my file.txt     61DA          3\r\n"
            "sub\\b.txt       07A2  1,234,567\r\n"
            "..\\other\\c.txt  0001          0\r\n"
            "D:\\x\\d.txt      FFFF         12\r\n"
            "-------------------------------\r\n"
            "T\r\n");
}

TEST(RenderChecksumList, NothingForNoRowsOrAnotherKind) {
  EXPECT_EQ(RenderChecksumList(THashType::CRC32, Rows{}, "Total  0 Files  0 Bytes"), "");
  EXPECT_EQ(RenderChecksumList(THashType::MD5, Rows{}, ""), "");
  const Rows rows = {{"a", "1", "1"}};
  EXPECT_EQ(RenderChecksumList(THashType::None, rows, "T"), "");
  EXPECT_EQ(RenderChecksumList(static_cast<THashType>(11), rows, "T"), "");
  // The SHA kinds and BLAKE2b are written in the MD5 layout.
  for (const THashType kind : {THashType::SHA224, THashType::SHA256, THashType::SHA384, THashType::BLAKE2b})
    EXPECT_EQ(RenderChecksumList(kind, rows, "T"), "1 a\r\n") << static_cast<int>(kind);
}

// b3sum's layout: two blanks, LF, "/" between folders, the name otherwise as it is.
TEST(RenderChecksumList, Blake3InB3sumsLayout) {
  const Rows rows = {{"a b.txt", "1f", "1"}, {"sub\\deep\\x", "2e", "2"}, {" lead", "3d", "3"}};
  EXPECT_EQ(RenderChecksumList(THashType::BLAKE3, rows, "T"), "1f  a b.txt\n2e  sub/deep/x\n3d   lead\n");
}

TEST(HashColumnTitle, PerKind) {
  EXPECT_EQ(HashColumnTitle(THashType::CRC16), "CRC");
  EXPECT_EQ(HashColumnTitle(THashType::CRC32), "CRC32");
  EXPECT_EQ(HashColumnTitle(THashType::MD5), "MD5");
  EXPECT_EQ(HashColumnTitle(THashType::None), "");
  EXPECT_EQ(HashColumnTitle(THashType::SHA1), "SHA1");
  EXPECT_EQ(HashColumnTitle(THashType::SHA256), "SHA256");
  EXPECT_EQ(HashColumnTitle(THashType::SHA512), "SHA512");
  EXPECT_EQ(HashColumnTitle(THashType::SHA224), "SHA224");
  EXPECT_EQ(HashColumnTitle(THashType::SHA384), "SHA384");
  EXPECT_EQ(HashColumnTitle(THashType::BLAKE2b), "BLAKE2b");
  EXPECT_EQ(HashColumnTitle(THashType::BLAKE3), "BLAKE3");
  EXPECT_EQ(HashColumnTitle(static_cast<THashType>(11)), "");
}

TEST(DefaultSaveName, OneRowGivesItsNameWithoutExtension) {
  struct Case {
    const char* name;
    const char* saveName;
  };
  const Case cases[] = {
      {"a.txt", "a"},
      {"movie.avi", "movie"},
      {"*a.txt", "a"},  // the binary-mode mark is dropped
      {"archive.tar.gz", "archive.tar"},
      {"README", "README"},
      {"sub\\b.txt", "sub\\b"},
      {"dir.v2\\file", "dir.v2\\file"},  // the "." is in a folder, not the file name
      {"..\\other\\c.txt", "..\\other\\c"},
      {"D:\\x\\d.txt", "D:\\x\\d"},
      {"trail.", "trail"},
      {".hidden", ""},
      {"\x95\x5C.txt", "\x95\x5C"},        // 表.txt, trail byte 0x5C is no "\"
      {"\x95\x5C", "\x95\x5C"},            // 表 alone: no folder and no extension
      {"a.b\\\x95\x5C", "a.b\\\x95\x5C"},  // a.b\表: "表" is the last component
  };
  for (const Case& c : cases) {
    const Rows rows = {{c.name, "61DA", "3"}};
    EXPECT_EQ(DefaultSaveName(rows, "C:\\base", IsShiftJisLeadByte), c.saveName) << c.name;
  }
}

TEST(DefaultSaveName, OtherRowCountsGiveTheBaseFolderName) {
  const Rows two = {{"a.txt", "1", "1"}, {"b.txt", "2", "2"}};
  struct Case {
    const char* folder;
    const char* saveName;
  };
  const Case cases[] = {
      {"C:\\music\\album", "album"},
      {"C:\\x", "x"},
      {"C:", ""},
      {"\\\\server\\share", "share"},
      {"C:\\a.b", "a.b"},                               // a folder keeps its dot
      {"C:\\\x95\x5C", "\x95\x5C"},                     // C:\表: the trail byte is no separator
      {"C:\\x\\\x83\x5C\x95\x5C", "\x83\x5C\x95\x5C"},  // ソ表
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DefaultSaveName(two, c.folder, IsShiftJisLeadByte), c.saveName) << c.folder;
    EXPECT_EQ(DefaultSaveName(Rows{}, c.folder, IsShiftJisLeadByte), c.saveName) << c.folder;
  }
  // In a single-byte code page 0x95 is a letter and 0x5C a "\".
  EXPECT_EQ(DefaultSaveName(two, "C:\\\x95\x5C", IsNeverLeadByte), "");
}
