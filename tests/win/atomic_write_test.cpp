// Writing a file atomically: the bytes as given, an existing file replaced whole or, on failure,
// kept, and never a temporary file left behind.
#include "win/atomic_write.h"
#include "support/wide_path.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "support/scratch_folder.h"

namespace {

using win::WriteFileAtomically;
using win::WriteResult;

// Every entry of the folder except "." and "..".
std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW entry;
  const win::FindHandle find(FindFirstFileW(W(folder + "*").c_str(), &entry));
  if (!find) return names;
  do {
    const std::string name = U8(entry.cFileName);
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileW(find.get(), &entry));
  std::sort(names.begin(), names.end());
  return names;
}

TEST(WriteFileAtomicallyTest, WritesTheBytesAndReplacesAnOldFileWhole) {
  const ScratchFolder folder;
  const std::string path = folder.File("list.crc");
  const std::string big = PatternBytes(3 * 65536 + 17);
  for (const std::string& bytes : {big, std::string("short\r\n"), std::string()}) {
    EXPECT_EQ(WriteFileAtomically(path, bytes), WriteResult::Written);
    EXPECT_EQ(folder.Read("list.crc"), bytes);
  }
  EXPECT_EQ(Entries(folder.Path()), std::vector<std::string>{"list.crc"});  // no temporary file left
}

// Each refusal leaves the folder as it was: an old file unchanged, nothing new.
TEST(WriteFileAtomicallyTest, RefusalsLeaveEverythingAsItWas) {
  const ScratchFolder folder;
  const std::string readOnly = folder.AddFile("kept.crc", "old list\r\n");
  ASSERT_TRUE(SetFileAttributesW(W(readOnly).c_str(), FILE_ATTRIBUTE_READONLY));
  folder.AddFolder("sub");
  struct Case {
    const char* label;
    std::string path;
  };
  const Case cases[] = {
      {"missing folder", folder.File("missing\\list.crc")},
      {"read-only file", readOnly},
      {"folder", folder.File("sub")},
      {"name the file system refuses", folder.File("*a.crc")},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WriteFileAtomically(c.path, "new list\r\n"), WriteResult::CannotCreate) << c.label;
  }
  SetFileAttributesW(W(readOnly).c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(folder.Read("kept.crc"), "old list\r\n");
  EXPECT_EQ(Entries(folder.Path()), (std::vector<std::string>{"kept.crc", "sub"}));
  EXPECT_TRUE(Entries(folder.File("sub\\")).empty());
}

}  // namespace
