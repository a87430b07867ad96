// Runs whose files are hashed by worker threads: the same rows from one worker and from many,
// cancels at any moment, each run's cancel its own, a worker's failure, and no thread left behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <optional>
#include <random>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <vector>

#include "core/crc.h"
#include "core/hex.h"
#include "core/sha.h"
#include "engine/creation_run.h"
#include "engine/hash_queue.h"
#include "engine/verification_run.h"
#include "support/list_text.h"
#include "support/scratch_folder.h"
#include "support/thread_count.h"
#include "win/handle.h"

namespace {

// What a run reported, as one comparable text per row or left-out file.
class Log final : public TRunObserver {
 public:
  void FileStarting(std::size_t index, std::size_t /*count*/) override {
    if (onStart) onStart(index);
  }
  void SetText(std::string_view /*text*/) override {}
  void ProcessMessages() override {
    if (onPump) onPump();
  }
  void Settle() override {}
  void RowAdded(ChecksumRow row) override { lines.push_back(row.Name + "|" + row.Hash + "|" + row.Bytes); }
  void FileLeftOut(std::string path, THashFailure reason) override {
    lines.push_back(path + "|left out " + std::to_string(static_cast<int>(reason)));
  }
  void RowVerified(std::size_t index, TVerification verification) override {
    lines.push_back(std::to_string(index) + "|" + std::to_string(static_cast<int>(verification.result)) + "|" +
                    verification.foundHash + "|" + verification.foundBytes);
  }

  std::vector<std::string> lines;
  std::function<void(std::size_t)> onStart;
  std::function<void()> onPump;
};

std::string Pattern(std::size_t length, unsigned seed) {
  std::string bytes(length, '\0');
  for (std::size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>((i * 31 + seed) % 251);
  return bytes;
}

std::string Crc32Text(const std::string& bytes) {
  return HexUpper(~Crc32Update(0xFFFFFFFFu, bytes.data(), bytes.size()), 8);
}

// The checksum text of the bytes, from the core's functions alone.
std::string ChecksumText(THashType kind, const std::string& bytes) {
  switch (kind) {
    case THashType::CRC32: return Crc32Text(bytes);
    case THashType::CRC16: return HexUpper(Crc16UpdateReference(0xFFFF, bytes.data(), bytes.size()), 4);
    default: {
      TSha256Context context;
      Sha256Init(context);
      Sha256Update(context, bytes.data(), bytes.size());
      TSha256Digest digest;
      Sha256Final(context, digest);
      return HexUpperBytes(digest.data(), digest.size());
    }
  }
}

class HashQueueTest : public testing::Test {
 protected:
  TRunResult Run(const std::vector<std::string>& files, unsigned workers, Log& log, THashType kind,
                 const std::stop_token& cancel) {
    return RunCreation({files, {}}, folder_.Path().substr(0, folder_.Path().size() - 1),
                       {.kind = kind, .showProcess = true, .upperMD5 = true, .workers = workers}, ",", log, cancel);
  }
  std::vector<std::string> Create(const std::vector<std::string>& files, unsigned workers, Log& log,
                                  THashType kind = THashType::CRC32) {
    EXPECT_FALSE(Run(files, workers, log, kind, {}).cancelled);
    return log.lines;
  }

  ScratchFolder folder_;
};

struct Tree {
  const char* label;
  std::vector<std::size_t> sizes;  // one file each; SIZE_MAX: a file that does not exist
};

// Whatever the tree, every worker count gives the rows and left-out files of one worker, in the
// same order; a big file's checksum is the one of its bytes: a CRC's halves are read on two
// threads (one of them cut off a block's end), a digest's blocks are read ahead on a thread.
TEST_F(HashQueueTest, OneWorkerAndManyGiveTheSameRows) {
  const std::size_t missing = SIZE_MAX;
  const std::size_t big = (20u << 20) + 3;
  const Tree trees[] = {
      {"empty files", {0, 0, 0}},
      {"one huge file", {big}},
      {"many small", std::vector<std::size_t>(300, 100)},
      {"mixed and failing", {5, 0, missing, big, 65536, 65537, missing, 1}},
  };
  int tree = 0;
  for (const Tree& t : trees) {
    SCOPED_TRACE(t.label);
    std::vector<std::string> files;
    std::string hugeBytes;
    for (std::size_t i = 0; i < t.sizes.size(); ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "t%d_%zu.bin", tree, 1000 + i);
      if (t.sizes[i] == missing) {
        files.push_back(folder_.File(name));
        continue;
      }
      std::string bytes = Pattern(t.sizes[i], static_cast<unsigned>(i));
      files.push_back(folder_.AddFile(name, bytes));
      if (t.sizes[i] == big) hugeBytes = bytes;
    }
    ++tree;
    for (const THashType kind : {THashType::CRC32, THashType::CRC16, THashType::SHA256}) {
      SCOPED_TRACE(static_cast<int>(kind));
      Log one;
      const std::vector<std::string> expected = Create(files, 1, one, kind);
      ASSERT_EQ(expected.size(), t.sizes.size());
      if (!hugeBytes.empty()) {
        std::string want = "|";
        want += ChecksumText(kind, hugeBytes);
        want += '|';
        bool found = false;
        for (const std::string& line : expected) found = found || line.find(want) != std::string::npos;
        EXPECT_TRUE(found) << "the big file's checksum";
      }
      for (const unsigned workers : {2u, 3u, 8u}) {
        Log many;
        EXPECT_EQ(Create(files, workers, many, kind), expected) << workers << " workers";
      }
    }
  }
}

// Each job's digest length reaches its file's hashing: b2sum -l 256, b2sum and sha384sum of "abc".
TEST_F(HashQueueTest, JobsCarryTheirDigestLength) {
  const std::string path = folder_.AddFile("abc.txt", "abc");
  const THashJob jobs[] = {{THashType::BLAKE2b, path, 32}, {THashType::BLAKE2b, path, 0}, {THashType::SHA384, path, 0}};
  const char* const expected[] = {
      "BDDD813C634239723171EF3FEE98579B94964E3BB1CB3E427262C8C068D52319",
      ("BA80A53F981C4D0D6A2797B69F12F6E94C212F14685AC4B74B12BB6FDBFFA2D1"  // one digest in two halves
       "7D87C5392AAB792DC252D5DE4533CC9518D38AA8DBF1925AB92386EDD4009923"),
      "CB00753F45A35E8BB5A03D699AC65007272C32AB0EDED1631A8B605A43FF5BED8086072BA1E7CC2358BAECA134C825A7"};
  THashQueue queue(std::size(jobs), 2, [&](std::size_t i) { return jobs[i]; }, {});
  Log log;
  for (std::size_t i = 0; i < std::size(jobs); ++i) {
    std::string hashText;
    std::int64_t fileSize = 0;
    EXPECT_EQ(queue.Take(i, log, false, hashText, fileSize), THashFailure::None) << i;
    EXPECT_EQ(hashText, expected[i]) << i;
    EXPECT_EQ(fileSize, 3) << i;
  }
}

// A cancel at any moment: the rows verified are the first ones, each with the outcome it has in
// a whole run, and every worker is gone when the run returns.
TEST_F(HashQueueTest, CancelAtAnyMomentLeavesAPrefixAndNoThread) {
  std::vector<ListEntry> entries;
  for (int i = 0; i < 40; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "c%d.bin", i);
    const std::string bytes = Pattern(i == 20 ? (17u << 20) : static_cast<std::size_t>(i) * 5000, i);
    folder_.AddFile(name, bytes);
    // Every third entry expects another checksum: mismatches among the correct rows.
    entries.push_back(
        {.name = name, .hash = i % 3 == 0 ? "00000000" : Crc32Text(bytes), .size = std::to_string(bytes.size())});
  }
  const ChecksumList list = ListOfLines(THashType::CRC32, TableLines(entries));
  Log whole;
  RunVerification(list, folder_.Path(), {.workers = 3}, ",", whole, {});
  ASSERT_EQ(whole.lines.size(), entries.size());

  const int threadsBefore = ThreadCount();
  std::mt19937 random(20261210);
  for (int round = 0; round < 12; ++round) {
    std::stop_source cancel;
    Log log;
    const int cancelAtPump = std::uniform_int_distribution<int>(1, 60)(random);
    int pumps = 0;
    log.onPump = [&] {
      if (++pumps == cancelAtPump) cancel.request_stop();
    };
    const TRunResult result = RunVerification(list, folder_.Path(), {.workers = 3}, ",", log, cancel.get_token());
    SCOPED_TRACE("cancel at pump " + std::to_string(cancelAtPump));
    EXPECT_EQ(ThreadCount(), threadsBefore) << "a worker outlived its run";
    EXPECT_EQ(result.done, log.lines.size());
    if (!result.cancelled) {
      EXPECT_EQ(log.lines.size(), entries.size());
    }
    for (std::size_t i = 0; i < log.lines.size(); ++i) EXPECT_EQ(log.lines[i], whole.lines[i]) << "row " << i;
  }
}

// Two runs at once, the second started in a message round of the first (as a drop on another
// window starts one): each stops for its own cancel only, and a cancel of the outer run stays when
// the inner one ends.
TEST_F(HashQueueTest, EachRunStopsForItsOwnCancelOnly) {
  const std::vector<std::string> files{folder_.AddFile("a.txt", "abc"), folder_.AddFile("b.txt", "123456789"),
                                       folder_.AddFile("c.txt", "")};
  const std::vector<std::string> whole{"a.txt|352441C2|3", "b.txt|CBF43926|9", "c.txt|00000000|0"};
  const std::vector<std::string> first{"a.txt|352441C2|3"};
  for (const bool cancelOuter : {true, false}) {
    SCOPED_TRACE(cancelOuter ? "the outer run cancelled" : "the inner run cancelled");
    std::stop_source outer;
    std::stop_source inner;
    Log outerLog;
    Log innerLog;
    std::optional<TRunResult> innerResult;
    outerLog.onStart = [&](std::size_t index) {
      if (index != 1 || innerResult) return;
      innerLog.onStart = [&](std::size_t innerIndex) {
        if (innerIndex == 1) (cancelOuter ? outer : inner).request_stop();
      };
      innerResult = Run(files, 2, innerLog, THashType::CRC32, inner.get_token());
    };
    const TRunResult outerResult = Run(files, 2, outerLog, THashType::CRC32, outer.get_token());
    ASSERT_TRUE(innerResult);
    EXPECT_EQ(outerResult.cancelled, cancelOuter);
    EXPECT_EQ(innerResult->cancelled, !cancelOuter);
    EXPECT_EQ(outerLog.lines, cancelOuter ? first : whole);
    EXPECT_EQ(innerLog.lines, cancelOuter ? whole : first);
  }
}

// Whatever goes wrong in a worker is that file's read error; the run and the program go on.
TEST_F(HashQueueTest, AWorkersFailureIsItsFilesReadError) {
  const std::string a = folder_.AddFile("a.txt", "abc");
  const std::string b = folder_.AddFile("b.txt", "123456789");
  THashQueue::OnJobStart = [](std::size_t index) {
    if (index == 0) throw std::runtime_error("worker trouble");
  };
  Log log;
  const std::vector<std::string> lines = Create({a, b}, 2, log);
  THashQueue::OnJobStart = nullptr;
  EXPECT_EQ(lines,
            (std::vector<std::string>{a + "|left out " + std::to_string(static_cast<int>(THashFailure::ReadError)),
                                      "b.txt|CBF43926|9"}));
}

}  // namespace
