// ruvo.exe started in some folder with paths relative to it: they name what their absolute forms
// name (verification's relative list path is among the verification tests).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "e2e/e2e_support.h"
#include "e2e/settings_text.h"
#include "support/wide_path.h"
#include "win/handle.h"

namespace {

// The CRC32 list of one file of five-character name holding "abc".
std::string OneFileList(const std::string& name) {
  return "Name   CRC32     Bytes\r\n"
         "-----  --------  -----\r\n" +
         name +
         "  352441C2      3\r\n"
         "----------------------\r\n"
         "Total  1 Files  3 Bytes\r\n";
}

// Every list file (".crc") under `folder` (with its trailing "\"), named relative to `root`.
void FindLists(const std::string& root, const std::string& folder, std::vector<std::string>& lists) {
  WIN32_FIND_DATAW entry;
  const win::FindHandle find(FindFirstFileW(W(folder + "*").c_str(), &entry));
  if (!find) return;
  do {
    const std::string name = U8(entry.cFileName);
    if (name == "." || name == "..") continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      FindLists(root, folder + name + "\\", lists);
    } else if (name.ends_with(".crc")) {
      lists.push_back((folder + name).substr(root.size()));
    }
  } while (FindNextFileW(find.get(), &entry));
}

std::vector<std::string> ListsIn(const e2e::RuvoSandbox& box) {
  std::vector<std::string> lists;
  FindLists(box.Folder(), box.Folder(), lists);
  return lists;
}

// A folder path beyond MAX_PATH once the sandbox is in front of it.
std::string DeepFolder() {
  std::string folder;
  for (int i = 0; i < 5; ++i) folder += std::string(60, 'd') + "\\";
  return folder;
}

struct CreationCase {
  const char* name;
  const char* workingFolder;  // in the sandbox
  std::string argument;
  std::string list;  // the one list expected in the sandbox
  const char* row;   // the name of the list's one file
};

TEST(RelativePathsE2e, CreationSavesBesideTheFileNamed) {
  const CreationCase cases[] = {
      {"bare name", "data\\x", "a.txt", "data\\x\\a.crc", "a.txt"},
      {"dot", "data\\x", ".\\a.txt", "data\\x\\a.crc", "a.txt"},
      {"up and down", "data\\y", "..\\x\\a.txt", "data\\x\\a.crc", "a.txt"},
      {"sub-folder", "data", "sub\\b.txt", "data\\sub\\b.crc", "b.txt"},
      {"forward slash", "data", "sub/b.txt", "data\\sub\\b.crc", "b.txt"},
      // A page of one file offers that file's name.
      {"the working folder itself", "data\\album", ".", "data\\album\\c.crc", "c.txt"},
      {"beyond MAX_PATH", "data", DeepFolder() + "a.txt", "data\\" + DeepFolder() + "a.crc", "a.txt"},
      {"absolute", "data\\y", "", "data\\x\\a.crc", "a.txt"},  // the full path of data\x\a.txt, for reference
  };
  for (const CreationCase& c : cases) {
    SCOPED_TRACE(c.name);
    const e2e::RuvoSandbox box;
    box.WriteFile("data\\x\\a.txt", "abc");
    box.WriteFile("data\\sub\\b.txt", "abc");
    box.WriteFile("data\\album\\c.txt", "abc");
    box.WriteFile("data\\" + DeepFolder() + "a.txt", "abc");
    box.MakeFolder("data\\y");
    box.WriteIni(kAutoSaveIni);
    const std::string argument = c.argument.empty() ? box.Path("data\\x\\a.txt") : c.argument;

    const e2e::RunResult result = box.RunIn(c.workingFolder, "\"" + argument + "\"");

    ASSERT_TRUE(result.finished) << "ruvo.exe did not end by itself";
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(ListsIn(box), std::vector<std::string>{c.list});
    EXPECT_EQ(box.ReadFile(c.list).value_or("<missing>"), OneFileList(c.row));
  }
}

}  // namespace
