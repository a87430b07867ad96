// THashQueue's own threads, built natively to run under ThreadSanitizer: the queue's source with
// the file reading and the processor count of this file in place of the Windows ones. Outcomes
// come in order while their progress is shown, a cancel stops its own queue for good, and a
// queue left early stops its workers.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "engine/hash_queue.h"
#include "win/processors.h"

unsigned win::UsableProcessorCount() { return 4; }
void win::LowerThreadPriority() {}

namespace {

// How many times each job has been started and ended; the job that cancels its run as it starts,
// and the one that runs until it is stopped (none: -1).
std::atomic<int> timesStarted[64];
std::atomic<int> timesEnded[64];
std::atomic<int> jobThatCancels{-1};
std::atomic<int> jobThatNeverEnds{-1};
std::stop_source* runCancel = nullptr;

void ResetCounts() {
  for (auto& times : timesStarted) times = 0;
  for (auto& times : timesEnded) times = 0;
  jobThatCancels = -1;
  jobThatNeverEnds = -1;
}

std::int64_t SizeOf(std::size_t index) { return static_cast<std::int64_t>(index % 5 + 1) * 100; }

}  // namespace

// A file of the job's index in blocks: progress after each, stopped by its run's cancel like the
// real one.
THashFailure HashFileInWorker(THashType /*kind*/, const std::string& fileName, std::string& hashText,
                              std::int64_t& fileSize, TFileProgress* progress, std::size_t /*digestBytes*/,
                              const std::stop_token& cancel) {
  const int index = std::stoi(fileName);
  ++timesStarted[index];
  if (index == jobThatCancels) runCancel->request_stop();
  if (index == jobThatNeverEnds) {
    while (!cancel.stop_requested()) std::this_thread::yield();
  }
  const std::int64_t size = SizeOf(static_cast<std::size_t>(index));
  progress->size = size;
  THashFailure failure = THashFailure::None;
  for (std::int64_t position = 0; position < size && failure == THashFailure::None; position += 100) {
    if (cancel.stop_requested()) failure = THashFailure::Cancelled;
    progress->position.store(position + 100, std::memory_order_relaxed);
  }
  if (failure == THashFailure::None) {
    hashText = "#" + fileName;
    fileSize = size;
  }
  ++timesEnded[index];
  return failure;
}

namespace {

class Shown final : public TRunObserver {
 public:
  void FileStarting(std::size_t, std::size_t) override {}
  void SetText(std::string_view text) override { texts.emplace_back(text); }
  void ProcessMessages() override {}
  void Waiting() override {
    if (throwWhileWaiting) throw std::runtime_error("the window went away");
  }
  void Settle() override {}

  std::vector<std::string> texts;
  bool throwWhileWaiting = false;
};

THashQueue::JobAt Jobs() {
  return [](std::size_t index) { return THashJob{.kind = THashType::CRC32, .path = std::to_string(index)}; };
}

void ExpectEveryOutcomeInOrder(THashQueue& queue, std::size_t count, Shown& shown) {
  for (std::size_t i = 0; i < count; ++i) {
    std::string hashText;
    std::int64_t fileSize = -1;
    EXPECT_EQ(queue.Take(i, shown, true, hashText, fileSize), THashFailure::None) << i;
    EXPECT_EQ(hashText, "#" + std::to_string(i));
    EXPECT_EQ(fileSize, SizeOf(i));
  }
}

TEST(HashQueueThreads, OutcomesComeInOrderWhileProgressShows) {
  for (const unsigned workers : {0u, 1u, 3u, 8u}) {
    SCOPED_TRACE("workers " + std::to_string(workers));
    ResetCounts();
    Shown shown;
    THashQueue queue(64, workers, Jobs(), {});
    ExpectEveryOutcomeInOrder(queue, 64, shown);
  }
}

// A cancel holds: the job it stopped is taken as cancelled and no job is hashed twice, while
// another queue's run at the same time, with a cancel of its own, gives every outcome.
TEST(HashQueueThreads, ACancelStopsItsOwnQueueAndIsNeverTakenBack) {
  ResetCounts();
  std::stop_source cancel;
  runCancel = &cancel;
  jobThatCancels = 20;
  Shown shown;
  {
    THashQueue queue(32, 4, Jobs(), cancel.get_token());
    const std::stop_source other;
    // The other queue's jobs are files 32 to 63.
    THashQueue untouched(
        32, 2, [](std::size_t index) { return Jobs()(32 + index); }, other.get_token());
    bool stopped = false;
    for (std::size_t i = 0; i < 32 && !stopped; ++i) {
      std::string hashText;
      std::int64_t fileSize = -1;
      stopped = queue.Take(i, shown, false, hashText, fileSize) == THashFailure::Cancelled;
      EXPECT_TRUE(stopped || hashText == "#" + std::to_string(i)) << i;
    }
    EXPECT_TRUE(stopped) << "job 20 or one before it was stopped";
    for (std::size_t i = 0; i < 32; ++i) {
      std::string hashText;
      std::int64_t fileSize = -1;
      EXPECT_EQ(untouched.Take(i, shown, false, hashText, fileSize), THashFailure::None) << i;
      EXPECT_EQ(hashText, "#" + std::to_string(32 + i));
    }
  }
  for (std::size_t i = 0; i < 64; ++i) EXPECT_LE(timesStarted[i].load(), 1) << i;
  runCancel = nullptr;
}

// An observer that throws leaves the queue early: its destructor stops the workers before it
// joins them, so a job that runs until stopped does not hold the program (this test would hang).
TEST(HashQueueThreads, LeavingTheQueueEarlyStopsItsWorkers) {
  ResetCounts();
  jobThatNeverEnds = 3;
  Shown shown;
  shown.throwWhileWaiting = true;
  const std::stop_source cancel;
  EXPECT_THROW(
      {
        THashQueue queue(8, 2, Jobs(), cancel.get_token());
        for (std::size_t i = 0; i < 8; ++i) {
          std::string hashText;
          std::int64_t fileSize = -1;
          (void)queue.Take(i, shown, false, hashText, fileSize);
        }
      },
      std::runtime_error);
  EXPECT_FALSE(cancel.stop_requested()) << "the run's own cancel is not touched";
}

}  // namespace
