// The creation and verification runs without any window: real files, a recording observer.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "engine/creation_run.h"
#include "engine/hash_file.h"
#include "engine/verification_run.h"
#include "support/job_gate.h"
#include "support/list_text.h"
#include "support/scratch_folder.h"

namespace {

const std::string kZeros(1234567, '\0');  // CRC32 70986EF5, MD5 EC20DD727DE8B769905BE6E835EF9198

// Records what a run reports; onText and onStart may act on it (a cancel, say).
class Recorder final : public TRunObserver {
 public:
  void FileStarting(std::size_t index, std::size_t count) override {
    starts.push_back(std::to_string(index) + "/" + std::to_string(count));
    if (onStart) onStart(index);
  }
  void SetText(std::string_view text) override {
    texts.emplace_back(text);
    if (onText) onText(text);
  }
  void ProcessMessages() override {
    ++pumps;
    if (onPump) onPump();
  }
  void Settle() override { ++settles; }
  void RowAdded(ChecksumRow row) override { rows.push_back(std::move(row)); }
  void RowVerified(std::size_t index, TVerification verification) override {
    if (onVerified) onVerified(index);
    verified.push_back(index);
    results.push_back(verification.result);
    found.push_back(verification.foundHash + "|" + verification.foundBytes);
  }

  std::vector<std::string> starts, texts, found;
  std::vector<ChecksumRow> rows;
  std::vector<std::size_t> verified;
  std::vector<TVerifyResult> results;
  int pumps = 0;
  int settles = 0;
  std::function<void(std::size_t)> onStart;
  std::function<void(std::string_view)> onText;
  std::function<void()> onPump;
  std::function<void(std::size_t)> onVerified;
};

class RunTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_.AddFolder("sub");
    abc_ = folder_.AddFile("a.txt", "abc");
    zeros_ = folder_.AddFile("sub\\big.bin", kZeros);
  }
  std::string Base() const { return folder_.Path().substr(0, folder_.Path().size() - 1); }

  ScratchFolder folder_;
  std::string abc_, zeros_;
};

struct CreationCase {
  THashType kind;
  bool upper;
  bool binaryMode;
  std::vector<std::string> names, hashes;
};

TEST_F(RunTest, CreationMakesARowPerReadableFileInTheOptionsCase) {
  const CreationCase cases[] = {
      {THashType::CRC32, true, false, {"a.txt", "sub\\big.bin"}, {"352441C2", "70986EF5"}},
      {THashType::CRC32, false, true, {"a.txt", "sub\\big.bin"}, {"352441c2", "70986ef5"}},  // no "*" for CRC
      {THashType::MD5,
       false,
       true,
       {"*a.txt", "*sub\\big.bin"},
       {"900150983cd24fb0d6963f7d28e17f72", "ec20dd727de8b769905be6e835ef9198"}},
      {THashType::MD5,
       true,
       false,
       {"a.txt", "sub\\big.bin"},
       {"900150983CD24FB0D6963F7D28E17F72", "EC20DD727DE8B769905BE6E835EF9198"}},
      {THashType::SHA256,
       false,
       true,
       {"*a.txt", "*sub\\big.bin"},
       {"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad",
        "bd00cfe84dd349c99512a1e63ed1bda2c447a66f02968aebdc61cf15e0e2655a"}},
      {THashType::SHA256,
       true,
       false,
       {"a.txt", "sub\\big.bin"},
       {"BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD",
        "BD00CFE84DD349C99512A1E63ED1BDA2C447A66F02968AEBDC61CF15E0E2655A"}},
  };
  for (const CreationCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind) * 10 + c.upper);
    TRunOptions options{.kind = c.kind, .md5BinaryMode = c.binaryMode, .upperCRC = c.upper, .upperMD5 = c.upper};
    Recorder recorder;
    const std::vector<std::string> files{abc_, folder_.File("missing.txt"), zeros_};
    const TRunResult result = RunCreation({files, {}}, BaseFolderOf(files), options, ".", recorder, {});
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(result.done, 2u);
    ASSERT_EQ(recorder.rows.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(recorder.rows[i].Name, c.names[i]);
      EXPECT_EQ(recorder.rows[i].Hash, c.hashes[i]);
    }
    EXPECT_EQ(recorder.rows[1].Bytes, "1.234.567");  // the separator given
    EXPECT_EQ(recorder.starts, (std::vector<std::string>{"0/3", "1/3", "2/3"}));
    EXPECT_EQ(recorder.texts.back(), "Total  2 Files  1.234.570 Bytes");
    EXPECT_EQ(recorder.settles, 1);
  }
}

// Made again, a folder's list would hash its old self: a row that fails once the new list
// replaces it. The page leaves out the file it will be saved as, whatever its case; other lists
// are files like any other.
struct OwnListCase {
  const char* trace;
  THashType kind;
  std::vector<std::string> files;  // in "album"
  std::vector<std::string> rows;
};

TEST_F(RunTest, CreationLeavesOutTheFileItsListWillBeSavedAs) {
  folder_.AddFolder("album");
  for (const char* name : {"a.txt", "album.crc", "ALBUM.MD5", "b.crc", "b.txt"}) {
    folder_.AddFile(std::string("album\\") + name, name);
  }
  const OwnListCase cases[] = {
      {"crc", THashType::CRC32, {"a.txt", "album.crc", "ALBUM.MD5", "b.txt"}, {"a.txt", "ALBUM.MD5", "b.txt"}},
      {"md5 in another case",
       THashType::MD5,
       {"a.txt", "album.crc", "ALBUM.MD5", "b.txt"},
       {"a.txt", "album.crc", "b.txt"}},
      {"sha256", THashType::SHA256, {"a.txt", "album.crc", "b.txt"}, {"a.txt", "album.crc", "b.txt"}},
      // Without the folder's list one file is left, and the list takes that file's name.
      {"one left", THashType::CRC32, {"album.crc", "b.txt"}, {"b.txt"}},
      {"one left, its own list", THashType::CRC32, {"album.crc", "b.crc"}, {}},
      {"a lone list of the kind", THashType::CRC32, {"b.crc"}, {}},
      {"a lone list of another kind", THashType::MD5, {"b.crc"}, {"b.crc"}},
  };
  for (const OwnListCase& c : cases) {
    SCOPED_TRACE(c.trace);
    std::vector<std::string> files;
    for (const std::string& name : c.files) files.push_back(folder_.File("album\\" + name));
    Recorder recorder;
    const TRunResult result = RunCreation({files, {}}, BaseFolderOf(files), {.kind = c.kind}, ",", recorder, {});
    std::vector<std::string> rows;
    for (const ChecksumRow& row : recorder.rows) rows.push_back(row.Name);
    EXPECT_EQ(rows, c.rows);
    EXPECT_EQ(result.done, c.rows.size());
    EXPECT_EQ(result.leftOut, 0u) << "the own list is no file that failed";
    EXPECT_EQ(recorder.starts.size(), c.rows.size());
  }
}

// Every digest kind takes the MD5 case; SHA-256 has an extension of its own.
TEST(RunOptionsTest, DigestKindsFollowTheMd5Options) {
  const TRunOptions options{
      .upperCRC = true, .upperMD5 = false, .defaultExtCRC = "c", .defaultExtMD5 = "m", .defaultExtSHA256 = "s"};
  struct Case {
    THashType kind;
    bool upper;
    const char* ext;
  };
  const Case cases[] = {{THashType::CRC16, true, "c"},   {THashType::CRC32, true, "c"},
                        {THashType::MD5, false, "m"},    {THashType::SHA1, false, "m"},
                        {THashType::SHA256, false, "s"}, {THashType::SHA512, false, "m"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    EXPECT_EQ(options.UpperCase(c.kind), c.upper);
    EXPECT_EQ(options.DefaultExt(c.kind), c.ext);
  }
}

// While a worker hashes, messages run whatever showProcess says; the progress line only with it.
TEST_F(RunTest, MessagesRunWhileAFileIsHashed) {
  for (const bool showProcess : {false, true}) {
    SCOPED_TRACE(showProcess);
    JobGate gate(0);
    Recorder recorder;
    recorder.onPump = [&] {
      if (recorder.pumps == 5) gate.Open();
    };
    const TRunResult result =
        RunCreation({{zeros_}, {}}, Base(), {.kind = THashType::CRC32, .showProcess = showProcess}, ",", recorder, {});
    EXPECT_EQ(result.done, 1u);
    EXPECT_GE(recorder.pumps, 5);
    if (!showProcess) {
      for (const std::string& text : recorder.texts) EXPECT_FALSE(text.starts_with("big.bin (")) << text;
    }
    EXPECT_EQ(recorder.texts.back(), "Total  1 Files  1,234,567 Bytes");
  }
}

TEST_F(RunTest, CreationCancelledBeforeAFileKeepsTheRowsSoFar) {
  Recorder recorder;
  std::stop_source cancel;
  recorder.onStart = [&cancel](std::size_t index) {
    if (index == 1) cancel.request_stop();
  };
  const TRunResult result =
      RunCreation({{abc_, zeros_}, {}}, Base(), {.kind = THashType::CRC32}, ",", recorder, cancel.get_token());
  EXPECT_TRUE(result.cancelled);
  EXPECT_EQ(recorder.rows.size(), 1u);
  EXPECT_EQ(recorder.settles, 0);
}

TEST_F(RunTest, VerificationJudgesEveryEntry) {
  const std::vector<ListEntry> entries{
      {.name = "a.txt", .hash = "352441c2", .size = "3"},                 // case of the hash ignored
      {.name = "sub\\big.bin", .hash = "70986EF5", .size = "1,234,567"},  // grouped like the list
      {.name = "a.txt", .hash = "00000000", .size = "3"},
      {.name = "a.txt", .hash = "352441C2", .size = "4"},
      {.name = "missing.txt", .hash = "352441C2", .size = "3"},
      {.name = zeros_, .hash = "70986EF5", .size = "1234567"},  // absolute: taken as it is
  };
  Recorder recorder;
  const TRunResult result = RunVerification(ListOfLines(THashType::CRC32, TableLines(entries)), folder_.Path(),
                                            {.showProcess = false}, ",", recorder, {});
  EXPECT_FALSE(result.cancelled);
  EXPECT_EQ(result.done, entries.size());
  EXPECT_EQ(recorder.results, (std::vector<TVerifyResult>{TVerifyResult::Correct, TVerifyResult::Correct,
                                                          TVerifyResult::HashMismatch, TVerifyResult::SizeMismatch,
                                                          TVerifyResult::OpenFailed, TVerifyResult::Correct}));
  EXPECT_EQ(recorder.found[1], "70986EF5|1,234,567");
  EXPECT_EQ(recorder.found[4], "|");
  EXPECT_EQ(recorder.found[5], "70986EF5|1234567");
}

// A cancel that stops a file's reading leaves its entry unverified; one that comes once the file
// is read to its end keeps the entry and ends the run after it.
TEST_F(RunTest, VerificationCancelledWhileReading) {
  const std::vector<ListEntry> entries{{.name = "a.txt", .hash = "352441C2", .size = "3"},
                                       {.name = "sub\\big.bin", .hash = "70986EF5", .size = "1234567"},
                                       {.name = "a.txt", .hash = "352441C2", .size = "3"}};
  for (const bool whileReading : {true, false}) {
    SCOPED_TRACE(whileReading ? "during big.bin" : "at the end of a.txt");
    std::stop_source cancel;
    std::optional<JobGate> gate;
    Recorder recorder;
    if (whileReading) {
      // The user interface turns to big.bin while its worker waits to open it.
      gate.emplace(1);
      recorder.onStart = [&](std::size_t index) {
        if (index != 1) return;
        cancel.request_stop();
        gate->Open();
      };
    } else {
      recorder.onVerified = [&](std::size_t index) {
        if (index == 0) cancel.request_stop();
      };
    }
    const TRunResult result = RunVerification(ListOfLines(THashType::CRC32, TableLines(entries)), folder_.Path(),
                                              {.workers = 2}, ",", recorder, cancel.get_token());
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.done, 1u);
    EXPECT_EQ(recorder.verified, std::vector<std::size_t>{0});
  }
}

}  // namespace
