// Every list that ruvo.exe writes, ruvo.exe verifies: every kind, lower and upper case, the
// "md5sum -b" form, names with blanks (a leading one too) and in any script, one list of a tree
// with sub-folders.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "e2e/e2e_support.h"
#include "support/scratch_folder.h"

namespace {

using namespace std::chrono_literals;

struct Kind {
  const char* option;
  const char* extension;
  bool digest;
};

// Names in UTF-8: 한글 (no character of the ANSI code page: the list is written in UTF-8), 写真,
// ü, a leading blank, blanks inside, two levels of sub-folders.
void MakeTree(const ScratchFolder& folder) {
  folder.AddFolder("tree");
  folder.AddFolder("tree\\sub");
  folder.AddFolder("tree\\sub\\deep");
  folder.AddFile("tree\\a.txt", "abc");
  folder.AddFile("tree\\ lead.txt", "lead");
  folder.AddFile("tree\\my file.txt", std::string(70000, 'x'));
  folder.AddFile("tree\\\xED\x95\x9C\xEA\xB8\x80 \xEC\x82\xAC\xEC\xA7\x84.jpg", "korean");
  folder.AddFile("tree\\\xE5\x86\x99\xE7\x9C\x9F.txt", "photo");
  folder.AddFile("tree\\sub\\\xC3\xBC.txt", "u");
  folder.AddFile("tree\\sub\\deep\\x.bin", "");
}

}  // namespace

TEST(RoundTripE2e, EveryListCreationWritesVerifies) {
  const Kind kinds[] = {{"-t1", "crc", false}, {"-t3", "crc", false}, {"-tm", "md5", true}, {"-t256", "sha256", true}};
  const e2e::RuvoSandbox box;
  for (const Kind& kind : kinds) {
    for (const bool upper : {false, true}) {
      for (const bool binary : {false, true}) {
        if (binary && !kind.digest) continue;
        SCOPED_TRACE(std::string(kind.option) + (upper ? " upper" : "") + (binary ? " binary" : ""));
        const ScratchFolder data;
        MakeTree(data);
        const std::string flag = upper ? "1" : "0";
        box.WriteIni("[Preferences]\r\nDoneBeep=0\r\nDirList=0\r\nDirRecursive=1\r\nUpperCRC=" + flag +
                     "\r\nUpperMD5=" + flag + "\r\nMD5BinaryMode=" + (binary ? "1" : "0") + "\r\n\r\n");
        const e2e::CapturedRun made =
            box.RunCaptured(std::string("-q ") + kind.option + " \"" + data.File("tree") + "\"");
        ASSERT_TRUE(made.result.finished);
        ASSERT_EQ(made.result.exitCode, 0u) << made.output;

        const std::string list = data.File("tree\\tree.") + kind.extension;
        const e2e::CapturedRun verified = box.RunCaptured("-q -c \"" + list + "\"");
        ASSERT_TRUE(verified.result.finished);
        EXPECT_EQ(verified.result.exitCode, 0u)
            << data.Read("tree\\tree." + std::string(kind.extension)) << verified.output;
        // The summary alone: no row that is not correct.
        EXPECT_EQ(std::count(verified.output.begin(), verified.output.end(), '\n'), 1) << verified.output;
        EXPECT_NE(verified.output.find(list + "\t7"), std::string::npos) << verified.output;
      }
    }
  }
}
