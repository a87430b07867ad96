// ruvo.exe with "-q": no window, its lines on the standard output it was given, an exit code
// for scripts; the settings file is read and left as it was.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/cmdline.h"
#include "core/utf8.h"
#include "e2e/e2e_support.h"
#include "e2e/test_win32.h"

namespace {

using namespace std::chrono_literals;

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string Convert(std::string_view bytes, UINT from, UINT to) {
  if (bytes.empty()) return {};
  const int wideLength = MultiByteToWideChar(from, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(from, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), wideLength);
  const int length = WideCharToMultiByte(to, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(to, 0, wide.data(), wideLength, text.data(), length, nullptr, nullptr);
  return text;
}

// A UI text in the ANSI code page, as the sandbox's paths are.
std::string Ansi(std::u8string_view text) {
  return Convert(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), CP_UTF8, CP_ACP);
}

// What the program wrote, in the ANSI code page: it writes a pipe in the code page of the console
// it shares with this test, or in the ANSI code page without one.
std::string OutputAsAnsi(const std::string& output) {
  const UINT codePage = GetConsoleOutputCP();
  return codePage == 0 || codePage == GetACP() ? output : Convert(output, codePage, CP_ACP);
}

constexpr const char* kIni = "[Preferences]\r\nDoneBeep=0\r\nHashType=2\r\n\r\n";

class BatchE2eTest : public testing::Test {
 protected:
  void SetUp() override {
    box_.WriteFile("data\\a.txt", "abc");
    box_.WriteFile("data\\sub\\n.txt", "123456789");
    box_.WriteIni(kIni);
  }
  void TearDown() override { EXPECT_EQ(box_.ReadIni(), std::string(kIni)) << "the settings file is never written"; }

  // Runs and returns the exit code; the lines are in output_.
  DWORD Run(const std::string& arguments, bool readerGone = false) {
    const e2e::CapturedRun run = box_.RunCaptured(arguments, readerGone, 60s);
    EXPECT_TRUE(run.result.finished) << arguments;
    output_ = OutputAsAnsi(run.output);
    return run.result.exitCode;
  }
  std::string Line(std::string_view first, std::string_view second) const {
    return std::string(first) + "\t" + std::string(second) + "\r\n";
  }

  e2e::RuvoSandbox box_;
  std::string output_;
};

TEST_F(BatchE2eTest, VerificationExitCodes) {
  box_.WriteFile("data\\good.md5",
                 "900150983cd24fb0d6963f7d28e17f72  a.txt\n25f9e794323b453885f5181f1b624d0b  sub/n.txt\n");
  box_.WriteFile("data\\bad.md5",
                 "900150983cd24fb0d6963f7d28e17f72  a.txt\n00000000000000000000000000000000  sub/n.txt\n"
                 "900150983cd24fb0d6963f7d28e17f72  gone.txt\n");
  box_.WriteFile("data\\notes.txt", "no list here\r\n");
  const std::string good = box_.Path("data\\good.md5");
  const std::string bad = box_.Path("data\\bad.md5");
  const std::string notes = box_.Path("data\\notes.txt");
  const std::string missing = box_.Path("data\\missing.md5");

  EXPECT_EQ(Run("-q -c " + Quoted(good)), 0u);
  EXPECT_EQ(output_, Line(good, Ansi(u8"2ファイル (正常 : 2  異常 : 0)")));

  // Options in any order.
  EXPECT_EQ(Run("-c " + Quoted(bad) + " /q"), 1u);
  EXPECT_EQ(output_, bad + "\tsub/n.txt\t" + Ansi(u8"MD5不一致") + "\r\n" + bad + "\tgone.txt\t" +
                         Ansi(u8"ファイルオープン失敗") + "\r\n" + Line(bad, Ansi(u8"3ファイル (正常 : 1  異常 : 2)")));

  EXPECT_EQ(Run("-q -c " + Quoted(notes)), 2u);
  EXPECT_EQ(output_, Line(notes, Ansi(u8"チェックサムリストではありません")));

  EXPECT_EQ(Run("-q -c " + Quoted(missing) + " " + Quoted(good)), 2u) << "a path that names nothing";
  EXPECT_EQ(output_, Line(missing, Ansi(u8"見つかりません")) + Line(good, Ansi(u8"2ファイル (正常 : 2  異常 : 0)")));

  // A folder: every list in it, in name order; its other files are passed over.
  EXPECT_EQ(Run("-q -c " + Quoted(box_.Path("data"))), 1u);
  EXPECT_NE(output_.find(Line(bad, Ansi(u8"3ファイル (正常 : 1  異常 : 2)"))), std::string::npos) << output_;
  EXPECT_NE(output_.find(Line(good, Ansi(u8"2ファイル (正常 : 2  異常 : 0)"))), std::string::npos) << output_;
  EXPECT_EQ(output_.find(notes), std::string::npos) << output_;

  // Nothing to verify.
  box_.MakeFolder("empty");
  EXPECT_EQ(Run("-q -c " + Quoted(box_.Path("empty"))), 2u);
  EXPECT_EQ(output_, Line(box_.Path("empty\\"), Ansi(u8"チェックサムリストがありません")));
  EXPECT_EQ(Run("-q -c " + Quoted(box_.Path("empty")) + " " + Quoted(good)), 2u) << "beside a list as well";
  EXPECT_EQ(output_, Line(good, Ansi(u8"2ファイル (正常 : 2  異常 : 0)")) +
                         Line(box_.Path("empty\\"), Ansi(u8"チェックサムリストがありません")));
  EXPECT_EQ(Run("-q -c"), 2u);
  EXPECT_EQ(output_, Ansi(u8"パスがありません") + "\r\n");
}

// Output that cannot be written (a reader that went away, a full disk) is no outcome a script
// could trust: the run ends with exit code 2, whatever the rows said.
TEST_F(BatchE2eTest, OutputThatCannotBeWrittenEndsTheRunWithTwo) {
  box_.WriteFile("data\\bad.md5", "00000000000000000000000000000000  a.txt\n");
  box_.WriteFile("data\\good.md5", "900150983cd24fb0d6963f7d28e17f72  a.txt\n");
  EXPECT_EQ(Run("-q -c " + Quoted(box_.Path("data\\bad.md5")), true), 2u);
  EXPECT_EQ(Run("-q -c " + Quoted(box_.Path("data\\good.md5")), true), 2u);
  EXPECT_EQ(Run("-q -c " + Quoted(box_.Path("data\\good.md5"))), 0u) << "the same run with a reader";
}

// Names from a list may hold line ends, tabs and a terminal's escapes: each problem stays one
// line of three fields, the names escaped; names that may not be opened say why.
TEST_F(BatchE2eTest, ListNamesCannotForgeLines) {
  const std::string hash = "900150983cd24fb0d6963f7d28e17f72";
  const std::string forged = std::string("x\\n") + "fake\tok.txt\t" + Ansi(u8"正常");
  box_.WriteFile("data\\evil.md5", "\\" + hash + "  " + forged + "\n" +            // "\n" escaped in the list
                                       hash + "  tab\there.txt\n" +                // a raw tab
                                       hash + "  \x1b[2J\x1b]0;title\x07.txt\n" +  // terminal escapes
                                       hash + "  \\\\host\\share\\x.txt\n" +       // another computer
                                       hash + "  \\\\.\\pipe\\x\n" +               // a pipe
                                       hash + "  a.txt\n");
  const std::string list = box_.Path("data\\evil.md5");
  EXPECT_EQ(Run("-q -c " + Quoted(list)), 1u);
  const std::string bad = Ansi(u8"名前が不正です");
  EXPECT_EQ(output_, list + "\tx\\nfake\\tok.txt\\t" + Ansi(u8"正常") + "\t" + bad + "\r\n" +  //
                         list + "\ttab\\there.txt\t" + bad + "\r\n" +                          //
                         list + "\t\\x1b[2J\\x1b]0;title\\x07.txt\t" + bad + "\r\n" +          //
                         list + "\t\\\\host\\share\\x.txt\t" + Ansi(u8"ネットワーク上のパスは開きません") + "\r\n" +
                         list + "\t\\\\.\\pipe\\x\t" + bad + "\r\n" +
                         Line(list, Ansi(u8"6ファイル (正常 : 1  異常 : 5)")));
}

// A name that the console's code page lacks reaches a pipe whole with "-u8".
TEST_F(BatchE2eTest, NamesOutsideTheCodePageWithU8) {
  const std::string korean = "\xED\x95\x9C.jpg";  // 한.jpg, no character of code page 932
  box_.WriteFile("data\\k.md5", std::string("\xEF\xBB\xBF") + "900150983cd24fb0d6963f7d28e17f72  " + korean + "\n");
  const std::string list = box_.Path("data\\k.md5");
  const e2e::CapturedRun run = box_.RunCaptured("-q -u8 -c " + Quoted(list));
  ASSERT_TRUE(run.result.finished);
  EXPECT_EQ(run.result.exitCode, 1u);
  EXPECT_EQ(run.output, list + "\t" + korean + "\t" + AsUtf8String(u8"ファイルオープン失敗") + "\r\n" + list + "\t" +
                            AsUtf8String(u8"1ファイル (正常 : 0  異常 : 1)") + "\r\n");
}

TEST_F(BatchE2eTest, UnlistedFilesFromTheSettings) {
  box_.WriteFile("data\\good.md5",
                 "900150983cd24fb0d6963f7d28e17f72  a.txt\n25f9e794323b453885f5181f1b624d0b  sub\\n.txt\n");
  box_.WriteFile("data\\sub\\new.txt", "x");
  const std::string list = box_.Path("data\\good.md5");
  EXPECT_EQ(Run("-q -c " + Quoted(list)), 0u) << "off by default";

  const std::string ini = "[Preferences]\r\nDoneBeep=0\r\nHashType=2\r\nCompareUnlisted=1\r\n\r\n";
  box_.WriteIni(ini);
  EXPECT_EQ(Run("-q -c " + Quoted(list)), 1u);
  EXPECT_EQ(output_, list + "\tsub\\new.txt\t" + Ansi(u8"リストにないファイル") + "\r\n" +
                         Line(list, Ansi(u8"3ファイル (正常 : 2  異常 : 1)")));
  EXPECT_EQ(box_.ReadIni(), ini);
  box_.WriteIni(kIni);
}

TEST_F(BatchE2eTest, CreationSavesEveryPageAndOverwritesOnlyWhenForced) {
  // HashType=2 in the settings: MD5, a folder page and a page of loose files.
  box_.WriteFile("data\\sub\\m.txt", "abc");
  const std::string folderList = box_.Path("data\\sub\\sub.md5");
  const std::string fileList = box_.Path("data\\a.md5");
  const std::string args = "-q " + Quoted(box_.Path("data\\a.txt")) + " " + Quoted(box_.Path("data\\sub"));
  EXPECT_EQ(Run(args), 0u);
  EXPECT_EQ(box_.ReadFile("data\\a.md5"), "900150983cd24fb0d6963f7d28e17f72 a.txt\r\n");
  EXPECT_EQ(box_.ReadFile("data\\sub\\sub.md5"),
            "900150983cd24fb0d6963f7d28e17f72 m.txt\r\n25f9e794323b453885f5181f1b624d0b n.txt\r\n");
  EXPECT_EQ(output_, Line(fileList, "Total  1 Files  3 Bytes") + Line(folderList, "Total  2 Files  12 Bytes"));

  // Lists that exist are kept without "自動保存時強制上書き".
  box_.WriteFile("data\\a.md5", "old");
  EXPECT_EQ(Run(args), 2u);
  EXPECT_EQ(box_.ReadFile("data\\a.md5"), "old");
  box_.WriteIni("[Preferences]\r\nDoneBeep=0\r\nHashType=2\r\nAutoSaveForceOverwrite=1\r\n\r\n");
  EXPECT_EQ(Run(args), 0u);
  EXPECT_EQ(box_.ReadFile("data\\a.md5"), "900150983cd24fb0d6963f7d28e17f72 a.txt\r\n");
  box_.WriteIni(kIni);

  // The hash option applies to the run.
  EXPECT_EQ(Run(args + " -t3"), 0u);
  EXPECT_TRUE(box_.ReadFile("data\\a.crc").has_value());
  EXPECT_TRUE(box_.ReadFile("data\\sub\\sub.crc").has_value());
}

// Made again with overwriting, a folder's list leaves its old self out and so verifies; another
// list in the folder is a file like any other.
TEST_F(BatchE2eTest, CreationMadeAgainVerifies) {
  box_.WriteFile("data\\sub\\m.txt", "abc");
  box_.WriteFile("data\\sub\\other.crc", "no list of this folder\r\n");
  const std::string ini = "[Preferences]\r\nDoneBeep=0\r\nHashType=2\r\nAutoSaveForceOverwrite=1\r\n\r\n";
  box_.WriteIni(ini);
  const std::string folder = Quoted(box_.Path("data\\sub"));
  const std::string list = box_.Path("data\\sub\\sub.md5");
  const std::string made =
      "900150983cd24fb0d6963f7d28e17f72 m.txt\r\n25f9e794323b453885f5181f1b624d0b n.txt\r\n"
      "01a7cc3a4931fdcdd972a6a518e1dd0e other.crc\r\n";
  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE(run);
    EXPECT_EQ(Run("-q " + folder), 0u);
    EXPECT_EQ(output_, Line(list, "Total  3 Files  36 Bytes"));
    EXPECT_EQ(box_.ReadFile("data\\sub\\sub.md5"), made);
  }
  EXPECT_EQ(Run("-q -c " + Quoted(list)), 0u);
  EXPECT_EQ(output_, Line(list, Ansi(u8"3ファイル (正常 : 3  異常 : 0)")));
  EXPECT_EQ(box_.ReadIni(), ini);
  box_.WriteIni(kIni);
}

TEST_F(BatchE2eTest, CreationWithFilesLeftOutOrNothingHashed) {
  // A file that another program holds without sharing is left out; its page is saved all the same.
  box_.WriteFile("data\\sub\\held.txt", "x");
  const HANDLE held = CreateFileA(box_.Path("data\\sub\\held.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Run("-q " + Quoted(box_.Path("data\\sub"))), 1u);
  CloseHandle(held);
  EXPECT_EQ(output_, Line(box_.Path("data\\sub\\held.txt"), Ansi(u8"使用中")) +
                         Line(box_.Path("data\\sub\\n.md5"), "Total  1 Files  9 Bytes"));
  EXPECT_EQ(box_.ReadFile("data\\sub\\n.md5"), "25f9e794323b453885f5181f1b624d0b n.txt\r\n");

  // A path that names nothing: one line, and nothing else is hashed.
  EXPECT_EQ(Run("-q " + Quoted(box_.Path("data\\gone.txt"))), 2u);
  EXPECT_EQ(output_, Line(box_.Path("data\\gone.txt"), Ansi(u8"見つかりません")));
  box_.MakeFolder("empty");
  EXPECT_EQ(Run("-q " + Quoted(box_.Path("empty"))), 2u);
  EXPECT_EQ(output_, "");
}

// A list that another program holds open for writing cannot be read: it is said to be so, and
// not taken for a file that is no list.
TEST_F(BatchE2eTest, ListsHeldByAnotherProgramAreUnreadable) {
  box_.WriteFile("data\\good.md5", "900150983cd24fb0d6963f7d28e17f72  a.txt\n");
  box_.WriteFile("data\\held.md5", "900150983cd24fb0d6963f7d28e17f72  a.txt\n");
  const std::string good = box_.Path("data\\good.md5");
  const std::string held = box_.Path("data\\held.md5");
  const win::KernelHandle writer(CreateFileA(held.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer.valid());
  const std::string unreadable = Ansi(u8"読めません (使用中)");

  EXPECT_EQ(Run("-q -c " + Quoted(held)), 2u) << "a list given by name";
  EXPECT_EQ(output_, Line(held, unreadable));
  EXPECT_EQ(Run("-q -c " + Quoted(box_.Path("data"))), 1u) << "a folder's list";
  EXPECT_NE(output_.find(Line(held, unreadable)), std::string::npos) << output_;
  EXPECT_NE(output_.find(Line(good, Ansi(u8"1ファイル (正常 : 1  異常 : 0)"))), std::string::npos) << output_;
}

}  // namespace

// Each option word for one run: the same command line without and with it, everything else
// alike; the settings file says the opposite and is left as it was (TearDown).
TEST_F(BatchE2eTest, RunWordsOverTheSettings) {
  const std::string data = Quoted(box_.Path("data"));
  const std::string good = box_.Path("data\\good.md5");
  // The same files before every run, and no list left by the one before.
  const auto resetData = [&] {
    testfiles::RemoveTree(box_.Path("data\\"));
    box_.WriteFile("data\\a.txt", "abc");
    box_.WriteFile("data\\b.txt", "abc");  // two files: the folder's list takes its name
    box_.WriteFile("data\\sub\\n.txt", "123456789");
    box_.WriteFile("data\\x\\1.txt", "abc");
    box_.WriteFile("data\\y\\2.txt", "abc");
  };
  // One line per list saved.
  const auto listsSaved = [&] { return std::to_string(std::count(output_.begin(), output_.end(), '\n')) + " lists"; };
  struct Case {
    const char* word;
    std::function<void()> prepare;
    std::string arguments;
    DWORD without, with;
    // What the run left that the word changes.
    std::function<std::string()> observe;
    std::string observedWithout, observedWith;
  };
  const Case cases[] = {
      // A list of each folder, the sub-folders' too.
      {"r", [] {}, "-q " + data, 0, 0, listsSaved, "1 lists", "4 lists"},
      {"one", [] {}, "-q " + Quoted(box_.Path("data\\x")) + " " + Quoted(box_.Path("data\\y")), 0, 0, listsSaved,
       "2 lists", "1 lists"},
      {"f", [&] { box_.WriteFile("data\\data.md5", "old"); }, "-q " + data, 2, 0,
       [&] { return box_.ReadFile("data\\data.md5").value_or("") == "old" ? "kept" : "replaced"; }, "kept", "replaced"},
      {"u", [&] { box_.WriteFile("data\\good.md5", "900150983cd24fb0d6963f7d28e17f72  a.txt\n"); },
       "-q -c " + Quoted(good), 0, 1,
       [&] { return output_.find(Ansi(u8"リストにないファイル")) != std::string::npos ? "reported" : "silent"; },
       "silent", "reported"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    for (const bool withWord : {false, true}) {
      resetData();
      c.prepare();
      const std::string arguments = withWord ? "/" + std::string(c.word) + " " + c.arguments : c.arguments;
      EXPECT_EQ(Run(arguments), withWord ? c.with : c.without) << output_;
      EXPECT_EQ(c.observe(), withWord ? c.observedWith : c.observedWithout) << output_;
    }
  }
}

// A word after "-" or "/" that is no option word stops a batch run before anything is made,
// unless something of that name exists: then it is the path it always was.
TEST_F(BatchE2eTest, UnknownOptionWords) {
  box_.WriteFile("data\\SHA1SUMS", "a9993e364706816aba3e25717850c26c9cd0d89d  a.txt\n");
  box_.WriteFile("data\\-x\\b.txt", "abc");
  struct Case {
    std::string arguments;  // run in the folder "data"
    DWORD exitCode;
    std::string output;
    const char* made;  // the list the run makes, or nullptr
  };
  const std::string unknown = Ansi(u8"不明なオプション: ");
  const Case cases[] = {
      {"-q -C SHA1SUMS", 2, unknown + "-C\r\n", nullptr},
      {"-q -c /x SHA1SUMS", 2, unknown + "/x\r\n", nullptr},
      {"-q SHA1SUMS --one", 2, unknown + "--one\r\n", nullptr},
      {"-q -c SHA1SUMS", 0, Line(box_.Path("data\\SHA1SUMS"), Ansi(u8"1ファイル (正常 : 1  異常 : 0)")), nullptr},
      // The list of a folder of one file takes that file's name.
      {"-q -x", 0, Line(box_.Path("data\\-x\\b.md5"), "Total  1 Files  3 Bytes"), "data\\-x\\b.md5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments);
    const e2e::CapturedRun run = box_.RunCaptured(c.arguments, false, 60s, "data");
    ASSERT_TRUE(run.result.finished);
    EXPECT_EQ(run.result.exitCode, c.exitCode);
    EXPECT_EQ(OutputAsAnsi(run.output), c.output);
    for (const char* list : {"data\\SHA1SUMS.md5", "data\\data.md5", "data\\-x\\b.md5"}) {
      EXPECT_EQ(box_.ReadFile(list).has_value(), c.made != nullptr && std::string_view(list) == c.made) << list;
    }
    if (c.made != nullptr) DeleteFileA(box_.Path(c.made).c_str());
  }
}

// "-h" and its other spellings: the usage on the standard output, exit code 0, nothing run.
TEST_F(BatchE2eTest, UsageOnTheStandardOutput) {
  for (const char* help : {"-h", "-?", "/?", "--help", "-c -h data"}) {
    SCOPED_TRACE(help);
    EXPECT_EQ(Run(help), 0u);
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < output_.size();) {
      const std::size_t end = output_.find("\r\n", at);
      if (end == std::string::npos) break;
      lines.push_back(output_.substr(at, end - at));
      at = end + 2;
    }
    // Every option word the program knows on a line of its own, and only those.
    std::vector<std::string> words;
    for (const std::string& line : lines) {
      if (line.starts_with("  -")) words.push_back(line.substr(3, line.find(' ', 3) - 3));
    }
    std::vector<std::string> known(OptionWords().begin(), OptionWords().end());
    std::sort(words.begin(), words.end());
    std::sort(known.begin(), known.end());
    EXPECT_EQ(words, known);
    for (const char* code : {"  0  ", "  1  ", "  2  "}) {
      EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(code); }), 1)
          << code;
    }
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), Ansi(u8"設定ファイル: ") + box_.IniPath());
    EXPECT_FALSE(box_.ReadFile("data\\data.md5").has_value());
  }
}
