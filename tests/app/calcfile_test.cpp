// Writing a list file: the bytes as given, an existing list replaced whole or, on failure, kept.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/calcfile.h"
#include "calc_support.h"
#include "program_fixture.h"
#include "ui/handles.h"
#include "ui/text.h"

namespace {

using calctest::ReadFileBytes;

// Every entry of the folder except "." and "..".
std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  const FindHandle find(FindFirstFileA((folder + "*").c_str(), &entry));
  if (!find) return names;
  do {
    const std::string name = entry.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find.get(), &entry));
  return names;
}

std::string CannotCreate(const std::string& path) {
  return ui::Ansi(u8"ファイル ") + path + ui::Ansi(u8" を作成できません");
}

TEST(WriteListFileTest, WritesTheBytesAndReplacesAnOldListWhole) {
  const apptest::TempFolder folder;
  const std::string path = folder.File("list.crc");
  std::string big(3 * 65536 + 17, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i % 251);
  WriteListFile(path, big);
  EXPECT_EQ(ReadFileBytes(path), big);
  WriteListFile(path, "short\r\n");
  EXPECT_EQ(ReadFileBytes(path), "short\r\n");
  WriteListFile(path, "");
  EXPECT_EQ(ReadFileBytes(path), "");
  EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"list.crc"});  // no temporary file left
}

TEST(WriteListFileTest, AMissingFolderIsReportedAndNothingIsMade) {
  const apptest::TempFolder folder;
  const std::string path = folder.File("missing\\list.crc");
  try {
    WriteListFile(path, "x");
    ADD_FAILURE() << "no error";
  } catch (const TListFileError& error) {
    EXPECT_EQ(std::string(error.what()), CannotCreate(path));
  }
  EXPECT_TRUE(Entries(folder.Path()).empty());
}

TEST(WriteListFileTest, AListThatCannotBeReplacedStaysAsItWas) {
  const apptest::TempFolder folder;
  const std::string path = folder.File("list.crc");
  WriteListFile(path, "old list\r\n");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  try {
    WriteListFile(path, "new list\r\n");
    ADD_FAILURE() << "no error";
  } catch (const TListFileError& error) {
    EXPECT_EQ(std::string(error.what()), CannotCreate(path));
  }
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadFileBytes(path), "old list\r\n");
  EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"list.crc"});
}

TEST(WriteListFileTest, ANameTheFileSystemRefusesIsReported) {
  const apptest::TempFolder folder;
  const std::string path = folder.File("*a.crc");
  EXPECT_THROW(WriteListFile(path, "x"), TListFileError);
  EXPECT_TRUE(Entries(folder.Path()).empty());
}

}  // namespace
