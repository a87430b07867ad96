// Names in any script and paths of any length, from the folder to the list and back.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/checksum_list.h"
#include "core/text_encoding.h"
#include "engine/creation_run.h"
#include "engine/intake.h"
#include "engine/list_document.h"
#include "engine/list_file.h"
#include "engine/verification_run.h"
#include "support/outcome_recorder.h"
#include "support/scratch_folder.h"
#include "support/wide_path.h"
#include "win/atomic_write.h"
#include "win/file_path.h"

namespace {

std::string S(const char8_t* utf8) { return std::string(reinterpret_cast<const char*>(utf8)); }

using Recorder = OutcomeRecorder;

// Writes a file through the W calls in the extended form, so that any length works.
void WriteFileW(const std::string& path, std::string_view bytes) {
  const win::KernelHandle file(CreateFileW(win::FileSystemPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(file) << path;
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

// Creates a folder's files, makes its list, writes it, reads it back and verifies it.
struct RoundTrip {
  Recorder created, verified;
  TListDocument document;
  ChecksumList list;
};

RoundTrip CreateAndVerify(const std::string& folder, THashType kind) {
  RoundTrip trip;
  const TRunOptions options{.kind = kind, .upperMD5 = true};
  const win::FolderListing listing = SearchFolder(folder, false);
  const std::string base = folder.substr(0, folder.size() - 1);
  RunCreation({listing.files, listing.unnamable}, base, options, ",", trip.created, {});
  trip.document = MakeListDocument(kind, trip.created.rows, base, "Total", options);
  const std::string listPath = folder + "list.txt";
  EXPECT_EQ(win::WriteFileAtomically(listPath, trip.document.bytes), win::WriteResult::Written);
  trip.list = ReadChecksumList(listPath).list;
  EXPECT_EQ(trip.list.Kind(), kind);
  RunVerification(trip.list, folder, options, ",", trip.verified, {});
  DeleteFileW(win::FileSystemPath(listPath).c_str());  // the folder as it was, for the next round
  return trip;
}

struct NamesCase {
  const char* label;
  std::vector<std::string> names;
  bool utf8;  // the list needs UTF-8: a name has no code in the ANSI code page
};

class NamesTest : public testing::TestWithParam<NamesCase> {};

TEST_P(NamesTest, EveryFileIsListedAndVerifies) {
  if (GetACP() != 932) GTEST_SKIP() << "the expectations are those of code page 932";
  const ScratchFolder scratch;
  const std::string folder = scratch.AddFolder("f") + "\\";
  for (const std::string& name : GetParam().names) WriteFileW(folder + name, name);
  for (const THashType kind : {THashType::CRC32, THashType::MD5}) {
    const RoundTrip trip = CreateAndVerify(folder, kind);
    ASSERT_EQ(trip.created.rows.size(), GetParam().names.size());
    EXPECT_TRUE(trip.created.leftOut.empty());
    EXPECT_EQ(trip.document.bytes.starts_with("\xEF\xBB\xBF"), GetParam().utf8);
    ASSERT_EQ(trip.list.size(), GetParam().names.size());
    for (std::size_t i = 0; i < trip.list.size(); ++i) {
      EXPECT_EQ(trip.list.Entry(i).name, trip.created.rows[i].Name);
    }
    EXPECT_EQ(trip.verified.results, std::vector<TVerifyResult>(GetParam().names.size(), TVerifyResult::Correct));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, NamesTest,
    testing::Values(NamesCase{"Ascii", {"plain.txt", "b c.txt"}, false},
                    NamesCase{"ShiftJisWithTrailByte5C", {S(u8"表.txt"), S(u8"ソ.txt"), S(u8"ｱ.txt")}, false},
                    NamesCase{"CyrillicIsInCodePage932", {S(u8"Привет.txt")}, false},
                    NamesCase{"AccentedLatin", {"plain.txt", S(u8"café.txt")}, true},
                    NamesCase{"Korean", {S(u8"한국.txt"), S(u8"表.txt")}, true},
                    NamesCase{"Emoji", {S(u8"😀.txt")}, true}),
    [](const testing::TestParamInfo<NamesCase>& param) { return std::string(param.param.label); });

TEST(LongPaths, CreatedVerifiedAndSavedBeyond300Characters) {
  const ScratchFolder scratch;
  std::string folder = scratch.Path();
  while (folder.size() < 320) {
    folder += std::string(60, 'd') + "\\";
    ASSERT_TRUE(CreateDirectoryW(win::FileSystemPath(folder).c_str(), nullptr) ||
                GetLastError() == ERROR_ALREADY_EXISTS);
  }
  WriteFileW(folder + S(u8"長い名前.txt"), "abc");
  const RoundTrip trip = CreateAndVerify(folder, THashType::CRC32);
  ASSERT_EQ(trip.created.rows.size(), 1u);
  EXPECT_EQ(trip.created.rows[0].Hash, "352441C2");
  EXPECT_EQ(trip.verified.results, std::vector<TVerifyResult>{TVerifyResult::Correct});
  EXPECT_GT((folder + "list.txt").size(), 300u);
}

// The same list in every encoding reads as the same entries.
TEST(ListEncodings, EveryEncodingReadsTheSameEntries) {
  if (GetACP() != 932) GTEST_SKIP() << "the Shift-JIS case needs code page 932";
  const std::string utf8 =
      S(u8"900150983cd24fb0d6963f7d28e17f72 *表.txt\r\n900150983cd24fb0d6963f7d28e17f72  ソ b.txt\n");
  const std::u16string utf16 =
      u"900150983cd24fb0d6963f7d28e17f72 *\u8868.txt\r\n"
      u"900150983cd24fb0d6963f7d28e17f72  \u30bd b.txt\n";
  std::string le("\xFF\xFE"), be("\xFE\xFF");
  for (const char16_t unit : utf16) {
    le += static_cast<char>(unit & 0xFF), le += static_cast<char>(unit >> 8);
    be += static_cast<char>(unit >> 8), be += static_cast<char>(unit & 0xFF);
  }
  const std::string shiftJis =
      "900150983cd24fb0d6963f7d28e17f72 *\x95\x5c.txt\r\n"
      "900150983cd24fb0d6963f7d28e17f72  \x83\x5c b.txt\n";
  struct Case {
    const char* label;
    std::string bytes;
  };
  const Case cases[] = {{"UTF-8 with BOM", "\xEF\xBB\xBF" + utf8},
                        {"UTF-8", utf8},
                        {"UTF-16 LE", le},
                        {"UTF-16 BE", be},
                        {"Shift-JIS", shiftJis}};
  const ScratchFolder scratch;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string path = scratch.AddFile("l.md5", c.bytes);
    const ChecksumList list = ReadChecksumList(path).list;
    EXPECT_EQ(list.Kind(), THashType::MD5);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.Entry(0).name, S(u8"表.txt"));
    EXPECT_EQ(list.Entry(1).name, S(u8"ソ b.txt"));
  }
}

// Files that cannot be hashed are left out of the list, each with its reason.
TEST(LeftOut, EachFileWithItsReason) {
  const ScratchFolder scratch;
  const std::string held = scratch.AddFile("held.txt", "x");
  const std::string gone = scratch.AddFile("gone.txt", "x");
  const std::string good = scratch.AddFile("good.txt", "abc");
  // Another opener that shares nothing: the run's open is refused.
  const win::KernelHandle holder(CreateFileW(W(held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(holder);
  // Deleted after it was listed, before its turn.
  ASSERT_TRUE(DeleteFileW(W(gone).c_str()));
  Recorder recorder;
  const TRunResult result =
      RunCreation({{gone, good, held, scratch.File("never.txt")}, {scratch.File("bad\xEF\xBF\xBD")}}, scratch.Path(),
                  {.kind = THashType::CRC32}, ",", recorder, {});
  EXPECT_EQ(result.done, 1u);
  EXPECT_EQ(result.leftOut, 4u);
  EXPECT_EQ(recorder.leftOut,
            (std::vector<std::pair<std::string, THashFailure>>{{scratch.File("bad\xEF\xBF\xBD"), THashFailure::BadName},
                                                               {gone, THashFailure::NotFound},
                                                               {held, THashFailure::InUse},
                                                               {scratch.File("never.txt"), THashFailure::NotFound}}));
}

}  // namespace
