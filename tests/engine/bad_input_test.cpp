// Input that must not pass for a file: names a list cannot mean, devices, pipes and FIFOs.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "engine/creation_run.h"
#include "engine/hash_file.h"
#include "engine/intake.h"
#include "engine/list_file.h"
#include "engine/verification_run.h"
#include "support/outcome_recorder.h"
#include "support/scratch_folder.h"
#include "support/wide_path.h"

namespace {

using namespace std::string_literals;

// Verifies a list file of the given bytes in a folder where "a.txt" holds "abc".
std::vector<TVerifyResult> VerifyListBytes(const ScratchFolder& folder, const std::string& bytes) {
  const std::string listPath = folder.AddFile("list.crc", bytes);
  const ChecksumList list = ReadChecksumList(listPath).list;
  EXPECT_NE(list.Kind(), THashType::None);
  OutcomeRecorder recorder;
  RunVerification(list, folder.Path(), {.showProcess = false}, ",", recorder, {});
  return recorder.results;
}

const std::string kHead = "Name  CRC32  Bytes\r\n-  -  -\r\n";

}  // namespace

// Each row names "a.txt" and more; only the plain name may reach the file. The others say that
// their name is wrong, not that a file is missing.
TEST(NamesThatNameNoFile, AreBadNamesNeverShortened) {
  struct Case {
    const char* label;
    std::string bytes;
  };
  const Case cases[] = {
      {"a NUL and more", kHead + "a.txt\0junk  352441C2  3\r\n"s},
      {"a lone Shift-JIS lead byte", kHead + "a.txt\x82  352441C2  3\r\n"},
      {"a lead byte before the line end", "900150983cd24fb0d6963f7d28e17f72 *a.txt\x82\r\n"},
      {"a stream name", kHead + "a.txt::$DATA  352441C2  3\r\n"},
      {"a wildcard", kHead + "a.tx?  352441C2  3\r\n"},
      {"a byte that is no UTF-8", "\xEF\xBB\xBF" + kHead + "a.txt\xC3  352441C2  3\r\n"},
      {"an MD5 name with a NUL", "900150983cd24fb0d6963f7d28e17f72 *a.txt\0\r\n"s},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const ScratchFolder folder;
    folder.AddFile("a.txt", "abc");
    const std::vector<TVerifyResult> results = VerifyListBytes(folder, c.bytes);
    ASSERT_FALSE(results.empty());
    for (const TVerifyResult result : results) EXPECT_EQ(result, TVerifyResult::BadName);
  }
  // The same rows written plainly verify: the folder and list are sound.
  const ScratchFolder folder;
  folder.AddFile("a.txt", "abc");
  EXPECT_EQ(VerifyListBytes(folder, kHead + "a.txt  352441C2  3\r\n"),
            std::vector<TVerifyResult>{TVerifyResult::Correct});
}

// A UTF-16 name with a lone surrogate must not find the file whose name has a replacement
// character in its place.
TEST(NamesThatNameNoFile, ALoneSurrogateIsNoReplacementCharacter) {
  const ScratchFolder folder;
  folder.AddFile("a\xEF\xBF\xBD.txt", "abc");  // a�.txt
  std::u16string text = u"Name  CRC32  Bytes\r\n-  -  -\r\na\xD800.txt  352441C2  3\r\na\xFFFD.txt  352441C2  3\r\n";
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  EXPECT_EQ(VerifyListBytes(folder, bytes),
            (std::vector<TVerifyResult>{TVerifyResult::BadName, TVerifyResult::Correct}));
}

// Devices and pipes are refused without waiting on them; a file of a plain name is read.
TEST(OnlyFilesAreHashed, DevicesAndPipesAreNotAFile) {
  const std::wstring pipeName = L"\\\\.\\pipe\\ruvo-test-" + std::to_wstring(GetCurrentProcessId());
  const win::KernelHandle pipe(
      CreateNamedPipeW(pipeName.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 4096, 4096, 0, nullptr));
  ASSERT_TRUE(pipe.valid());
  const ScratchFolder folder;
  struct Case {
    std::string path;
    THashFailure failure;
  };
  const Case cases[] = {
      {"COM1", THashFailure::NotAFile},
      {"\\\\.\\COM1", THashFailure::NotAFile},
      {"CON", THashFailure::NotAFile},
      {folder.File("nul.txt"), THashFailure::NotAFile},
      {folder.File("LPT1"), THashFailure::NotAFile},
      {"\\\\.\\pipe\\ruvo-test-" + std::to_string(GetCurrentProcessId()), THashFailure::NotAFile},
      {folder.AddFile("console.con", "abc"), THashFailure::None},
  };
  for (const Case& c : cases) {
    std::string hash;
    std::int64_t size = 0;
    EXPECT_EQ(HashFileChecked(THashType::CRC32, c.path, hash, size, nullptr, nullptr), c.failure) << c.path;
  }
}

// A FIFO among files (made by the test run, RUVO_TEST_FIFO names its folder) is left out, not
// listed as an empty file.
TEST(OnlyFilesAreHashed, AFifoInAFolderIsLeftOut) {
  const char* fifoFolder = std::getenv("RUVO_TEST_FIFO");
  if (fifoFolder == nullptr) GTEST_SKIP() << "RUVO_TEST_FIFO names no folder with a FIFO";
  const std::string folder = std::string(fifoFolder) + "\\";
  const win::FolderListing listing = SearchFolder(folder, false);
  OutcomeRecorder recorder;
  RunCreation({listing.files, listing.unnamable}, std::string(fifoFolder), {.kind = THashType::CRC32}, ",", recorder,
              {});
  ASSERT_EQ(recorder.rows.size(), 1u);
  EXPECT_EQ(recorder.rows[0].Name, "a.txt");
  ASSERT_EQ(recorder.leftOut.size(), 1u);
  EXPECT_EQ(recorder.leftOut[0].first, folder + "fifo");
  EXPECT_EQ(recorder.leftOut[0].second, THashFailure::NotAFile);
}
