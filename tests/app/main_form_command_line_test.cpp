// What ProcessCommandLine hands to the creation and verification entries, and what it leaves.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/program_fixture.h"
#include "support/wide_path.h"

namespace {

using Args = std::vector<std::string>;

// A relative argument names something in the current folder.
std::string Here(const std::string& name) {
  wchar_t folder[MAX_PATH] = {};
  const DWORD length = GetCurrentDirectoryW(MAX_PATH, folder);
  std::string here = U8(std::wstring_view(folder, length));
  if (!here.ends_with('\\')) here += '\\';
  return here + name;
}

struct Calls {
  int calc = 0;
  int compare = 0;
  Args paths;
  THashType kindDuringRun = THashType::None;
};

class CommandLineTest : public testing::Test {
 protected:
  void SetUp() override {
    apptest::ResetProgramForms();
    MainForm->CalcFilesEntry = [this](Args& paths) {
      ++calls_.calc;
      calls_.paths = paths;
      calls_.kindDuringRun = MainForm->GetHashType();
    };
    MainForm->CompareFilesEntry = [this](Args& paths) {
      ++calls_.compare;
      calls_.paths = paths;
      calls_.kindDuringRun = MainForm->GetHashType();
    };
  }
  void TearDown() override { apptest::ResetProgramForms(); }

  Calls calls_;
};

struct Case {
  const char* name;
  Args arguments;
  THashType selected;  // before the call
  bool shown;
  int calc, compare;
  Args paths;
  THashType during;
};

TEST_F(CommandLineTest, ArgumentsReachTheRightEntry) {
  using enum THashType;
  const std::string drive = Here("").substr(0, 2);
  const Case cases[] = {
      {"no argument", {}, CRC32, true, 0, 0, {}, None},
      {"only options", {"-c", "-tm", "/t1"}, CRC32, true, 0, 0, {}, None},
      {"one path", {"C:\\data"}, CRC32, false, 1, 0, {"C:\\data"}, CRC32},
      {"kind of the settings stays", {"a"}, MD5, false, 1, 0, {Here("a")}, MD5},
      {"later hash option wins", {"-t1", "-tm", "a"}, CRC32, false, 1, 0, {Here("a")}, MD5},
      {"option after the path", {"a", "/t1"}, MD5, false, 1, 0, {Here("a")}, CRC16},
      {"t3", {"-t3", "a", "b"}, CRC16, false, 1, 0, {Here("a"), Here("b")}, CRC32},
      {"compare wins over hash options", {"-c", "-t1", "list.crc"}, CRC32, false, 0, 1, {Here("list.crc")}, CRC32},
      {"compare after the path", {"x.md5", "/c"}, MD5, false, 0, 1, {Here("x.md5")}, MD5},
      {"update verifies first", {"-update", "-t1", "x.md5"}, MD5, false, 0, 1, {Here("x.md5")}, MD5},
      // Not options, so paths; "/" is the root of the current drive, as everywhere in Windows.
      {"case-sensitive words",
       {"-C", "/T1", "-x"},
       CRC32,
       false,
       1,
       0,
       {Here("-C"), drive + "\\T1", Here("-x")},
       CRC32},
      {"lone prefix", {"-"}, CRC32, false, 1, 0, {Here("-")}, CRC32},
      {"longer words", {"-cc", "-t", "-tm5"}, CRC32, false, 1, 0, {Here("-cc"), Here("-t"), Here("-tm5")}, CRC32},
      {"shift-jis path", {"C:\\\xE8\xA1\xA8"}, CRC32, false, 1, 0, {"C:\\\xE8\xA1\xA8"}, CRC32},  // C:\表, trail 0x5C
      {"relative forms",
       {".\\a", "sub\\..\\b", "sub/c"},
       CRC32,
       false,
       1,
       0,
       {Here("a"), Here("b"), Here("sub\\c")},
       CRC32},
      {"absolute forms stay",
       {"\\\\srv\\share\\a", "\\\\?\\C:\\x\\..\\a"},
       CRC32,
       false,
       1,
       0,
       {"\\\\srv\\share\\a", "\\\\?\\C:\\x\\..\\a"},
       CRC32},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    calls_ = {};
    MainForm->Hide();
    MainForm->SetHashType(c.selected);
    MainForm->ProcessCommandLine(c.arguments);
    EXPECT_EQ(MainForm->Visible(), c.shown);
    EXPECT_EQ(calls_.calc, c.calc);
    EXPECT_EQ(calls_.compare, c.compare);
    EXPECT_EQ(calls_.paths, c.paths);
    if (c.calc + c.compare > 0) {
      EXPECT_EQ(calls_.kindDuringRun, c.during);
    }
    EXPECT_EQ(MainForm->GetHashType(), c.selected) << "the requested kind never outlives the run";
  }
}

TEST_F(CommandLineTest, RequestedKindIsUndoneWhenTheRunFails) {
  MainForm->SetHashType(THashType::MD5);
  MainForm->CalcFilesEntry = [](Args&) { throw std::runtime_error("cannot save"); };
  EXPECT_THROW(MainForm->ProcessCommandLine(Args{"-t1", "a"}), std::runtime_error);
  EXPECT_EQ(MainForm->GetHashType(), THashType::MD5);
}

// The option words hold for the run they start, over what the options tab says, and never after it.
TEST_F(CommandLineTest, RunWordsHoldForTheirRunOnly) {
  struct WordCase {
    Args arguments;
    bool recursive, oneList, overwrite, unlisted;
  };
  const WordCase cases[] = {
      {{"a"}, false, false, false, false},
      {{"-r", "a"}, true, false, false, false},
      {{"a", "/one"}, false, true, false, false},
      {{"-f", "a"}, false, false, true, false},
      {{"-c", "-u", "a.md5"}, false, false, false, true},
      {{"-r", "-one", "-f", "-u", "a"}, true, true, true, true},
  };
  TRunOptions during;
  MainForm->CalcFilesEntry = [&](Args&) { during = MainForm->Options(); };
  MainForm->CompareFilesEntry = [&](Args&) { during = MainForm->Options(); };
  MainForm->DirRecursiveCheckBox.SetChecked(false);
  MainForm->DirListCheckBox.SetChecked(true);
  MainForm->AutoSaveForceOverwriteCheckBox.SetChecked(false);
  MainForm->CompareUnlisted = false;
  for (const WordCase& c : cases) {
    SCOPED_TRACE(c.arguments.front());
    during = {};
    MainForm->ProcessCommandLine(c.arguments);
    EXPECT_EQ(during.dirRecursive, c.recursive);
    EXPECT_EQ(during.dirList, !c.oneList);
    EXPECT_EQ(during.autoSaveForceOverwrite, c.overwrite);
    EXPECT_EQ(during.compareUnlisted, c.unlisted);
    const TRunOptions after = MainForm->Options();
    EXPECT_FALSE(after.dirRecursive);
    EXPECT_TRUE(after.dirList);
    EXPECT_FALSE(after.autoSaveForceOverwrite);
    EXPECT_FALSE(after.compareUnlisted);
    EXPECT_FALSE(MainForm->DirRecursiveCheckBox.Checked()) << "the options tab is left as it was";
    EXPECT_TRUE(MainForm->DirListCheckBox.Checked());
  }
}

// "-h" runs nothing and shows no window; its lines go where a batch run's would.
TEST_F(CommandLineTest, HelpRunsNothing) {
  for (const Args& arguments : {Args{"-h"}, Args{"/?", "a"}, Args{"-c", "--help", "a.md5"}}) {
    SCOPED_TRACE(arguments.front());
    calls_ = {};
    std::vector<std::string> lines;
    MainForm->BatchOutput = [&](std::string_view line) { lines.emplace_back(line); };
    MainForm->Hide();
    MainForm->ProcessCommandLine(arguments);
    EXPECT_EQ(MainForm->BatchExitCode(), 0);
    EXPECT_FALSE(MainForm->Visible());
    EXPECT_EQ(calls_.calc + calls_.compare, 0);
    EXPECT_GT(lines.size(), 10u);
  }
}

}  // namespace
