#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "app/calc_form.h"
#include "app/compare_form.h"
#include "app/compare_frame.h"
#include "app/compare_support.h"
#include "app/main_form.h"
#include "app/program_fixture.h"
#include "core/listtext.h"
#include "core/numfmt.h"
#include "engine/hash_file.h"
#include "support/wide_path.h"
#include "ui/text.h"
#include "win/handle.h"
#include "win/user_locale.h"

// Lists written by other programs and by Ruvo's own creation verify as correct.
namespace {

class CompareInteropTest : public testing::Test {
 protected:
  void SetUp() override {
    comparetest::ResetCompareForm();
    sounds_.emplace();
    folder_.Write("a.txt", "abc");
    folder_.Write("sub\\b c.txt", std::string(70000, 'z'));  // more than one block, a space in the name
    folder_.Write("\xE8\xA1\xA8.bin", "123456789");          // 表.bin, trail byte 0x5C
    folder_.Write("empty.dat", "");
  }
  void TearDown() override {
    sounds_.reset();
    comparetest::ResetCompareForm();
  }

  // Verifies one list and expects every one of its rows correct.
  void ExpectAllCorrect(const std::string& listPath, std::size_t rows) {
    std::vector<std::string> paths{listPath};
    CompareForm->CompareFiles(paths);
    ASSERT_EQ(CompareForm->PageCount(), 1) << listPath;
    const TCompareFrame& frame = *CompareForm->Frame(0);
    ASSERT_EQ(frame.RowCount(), rows) << apptest::ReadFileBytes(listPath).value_or("(unreadable)");
    for (std::size_t i = 0; i < frame.RowCount(); ++i) {
      const TCompareItem item = frame.Item(i);
      EXPECT_EQ(item.State, 1) << item.Name << ": " << item.Error;
    }
    comparetest::ResetCompareForm();
  }

  const std::vector<std::string> names_{"a.txt", "sub\\b c.txt", "\xE8\xA1\xA8.bin", "empty.dat"};  // 表.bin
  apptest::TempFolder folder_;
  std::optional<comparetest::SoundLog> sounds_;
};

struct RenderCase {
  const char* label;
  THashType kind;
  bool lowerCase;
  bool binaryMark;
};

class RenderedListTest : public CompareInteropTest, public testing::WithParamInterface<RenderCase> {};

// The text that creation saves, from rows made the way creation makes them.
TEST_P(RenderedListTest, VerifiesAsCorrect) {
  const RenderCase& c = GetParam();
  std::vector<ChecksumRow> rows;
  std::uint64_t total = 0;
  for (const std::string& name : names_) {
    std::string hash;
    std::int64_t size = 0;
    ASSERT_TRUE(HashFile(c.kind, folder_.File(name), hash, size, nullptr, nullptr));
    if (c.lowerCase) {
      for (char& ch : hash) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
    }
    rows.push_back({(c.binaryMark ? "*" : "") + name, hash,
                    FormatGrouped(static_cast<std::uint64_t>(size), win::ThousandsSeparator())});
    total += static_cast<std::uint64_t>(size);
  }
  folder_.Write("list.txt", RenderChecksumList(c.kind, rows, TotalLine(rows.size(), total, win::ThousandsSeparator())));
  ExpectAllCorrect(folder_.File("list.txt"), rows.size());
}

INSTANTIATE_TEST_SUITE_P(Kinds, RenderedListTest,
                         testing::Values(RenderCase{"Crc16", THashType::CRC16, false, false},
                                         RenderCase{"Crc32Upper", THashType::CRC32, false, false},
                                         RenderCase{"Crc32Lower", THashType::CRC32, true, false},
                                         RenderCase{"Md5Lower", THashType::MD5, true, false},
                                         RenderCase{"Md5Upper", THashType::MD5, false, false},
                                         RenderCase{"Md5Binary", THashType::MD5, true, true}),
                         [](const testing::TestParamInfo<RenderCase>& p) { return std::string(p.param.label); });

struct CreationCase {
  const char* label;
  THashType kind;
  bool upper;
  bool binary;
  const char* ext;
};

class CreatedListTest : public CompareInteropTest, public testing::WithParamInterface<CreationCase> {};

// The real creation window hashes the folder and saves its list automatically; that file is then
// verified.
TEST_P(CreatedListTest, VerifiesAsCorrect) {
  const CreationCase& c = GetParam();
  MainForm->SetHashType(c.kind);
  MainForm->UpperCRCCheckBox.SetChecked(c.upper);
  MainForm->UpperMD5CheckBox.SetChecked(c.upper);
  MainForm->MD5BinaryModeCheckBox.SetChecked(c.binary);
  MainForm->DirRecursiveCheckBox.SetChecked(true);
  MainForm->DirListCheckBox.SetChecked(false);  // one list for the folder and its sub-folder
  MainForm->AutoSaveDirCheckBox.SetChecked(true);
  MainForm->AutoSaveFileCheckBox.SetChecked(true);
  MainForm->AutoSaveForceOverwriteCheckBox.SetChecked(true);
  MainForm->AutoSaveCloseCheckBox.SetChecked(true);
  MainForm->DoneBeepCheckBox.SetChecked(false);
  std::vector<std::string> paths{folder_.File("")};
  CalcForm->CalcFiles(paths);
  CalcForm->Hide();
  // The one list lies beside the first file and is named after its folder.
  WIN32_FIND_DATAW found{};
  const win::FindHandle search(FindFirstFileW(W(folder_.File(std::string("*.") + c.ext)).c_str(), &found));
  ASSERT_TRUE(search.valid()) << "no list saved";
  const std::string list = folder_.File(U8(found.cFileName));
  ExpectAllCorrect(list, names_.size());
}

INSTANTIATE_TEST_SUITE_P(Kinds, CreatedListTest,
                         testing::Values(CreationCase{"Crc16", THashType::CRC16, true, false, "crc"},
                                         CreationCase{"Crc32Lower", THashType::CRC32, false, false, "crc"},
                                         CreationCase{"Md5", THashType::MD5, false, false, "md5"},
                                         CreationCase{"Md5UpperBinary", THashType::MD5, true, true, "md5"}),
                         [](const testing::TestParamInfo<CreationCase>& p) { return std::string(p.param.label); });

// Runs a program of the host system with its output into a file and waits until that file holds
// `lines` lines; false when that is not possible here. Wine starts a Unix executable named by its
// path, but hands back no process handle to wait on, so the output itself tells the end.
bool RunHostTool(const std::string& commandLine, const std::string& folder, const std::string& outputPath,
                 std::size_t lines) {
  {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const win::KernelHandle output(CreateFileW(W(outputPath).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                               &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!output) return false;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output.get();
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup, &process)) {
      return false;
    }
    const win::KernelHandle processHandle(process.hProcess);
    const win::KernelHandle threadHandle(process.hThread);
    if (processHandle) WaitForSingleObject(processHandle.get(), 30000);
  }
  for (int tries = 0; tries < 300; ++tries) {
    const std::optional<std::string> text = apptest::ReadFileBytes(outputPath);
    if (text && static_cast<std::size_t>(std::count(text->begin(), text->end(), '\n')) >= lines) return true;
    Sleep(20);
  }
  return false;
}

// GNU md5sum's own output, text mode ("hash  name") and binary mode ("hash *name").
TEST_F(CompareInteropTest, Md5sumListsVerifyAsCorrect) {
  if (GetFileAttributesA("Z:\\usr\\bin\\md5sum") == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no /usr/bin/md5sum";
  // md5sum sees the names as the Unix side spells them: "/" between folders, UTF-8 bytes.
  const std::string arguments = " a.txt \"sub/b c.txt\" empty.dat";
  for (const char* mode : {"", " -b"}) {
    SCOPED_TRACE(mode);
    const std::string list = folder_.File("gnu.md5");
    ASSERT_TRUE(RunHostTool("Z:\\usr\\bin\\md5sum" + std::string(mode) + arguments, folder_.Path(), list, 3))
        << "md5sum could not be started as a Unix program from Wine";
    const std::optional<std::string> text = apptest::ReadFileBytes(list);
    ASSERT_TRUE(text.has_value());
    EXPECT_NE(text->find(*mode != 0 ? " *a.txt\n" : "  a.txt\n"), std::string::npos) << *text;
    ExpectAllCorrect(list, 3);
  }
}

}  // namespace
