// THashQueue's own threads, built natively to run under ThreadSanitizer: the queue's source with
// the file reading and the processor count of this file in place of the Windows ones. Outcomes
// come in order while their progress is shown, and a cancel taken back starts the work again.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "engine/hash_queue.h"
#include "win/processors.h"

unsigned win::UsableProcessorCount() { return 4; }
void win::LowerThreadPriority() {}

namespace {

// How many times each job has been started and ended, and whether job 1's first try cancels.
std::atomic<int> timesStarted[64];
std::atomic<int> timesEnded[64];
std::atomic<bool> job1Cancels{false};
std::atomic<bool> cancelled{false};

void ResetCounts() {
  for (auto& times : timesStarted) times = 0;
  for (auto& times : timesEnded) times = 0;
}

std::int64_t SizeOf(std::size_t index) { return static_cast<std::int64_t>(index % 5 + 1) * 100; }

}  // namespace

// A file of the job's index in blocks: progress after each, stopped by a cancel like the real one.
THashFailure HashFileInWorker(THashType /*kind*/, const std::string& fileName, std::string& hashText,
                              std::int64_t& fileSize, TFileProgress* progress, std::size_t /*digestBytes*/) {
  const std::size_t index = std::stoul(fileName);
  if (timesStarted[index]++ == 0 && index == 1 && job1Cancels) {
    CancelFlag = true;
    cancelled = true;
  }
  const std::int64_t size = SizeOf(index);
  progress->size = size;
  THashFailure failure = THashFailure::None;
  for (std::int64_t position = 0; position < size && failure == THashFailure::None; position += 100) {
    if (CancelFlag) failure = THashFailure::Cancelled;
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
  void Settle() override {}

  std::vector<std::string> texts;
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
    CancelFlag = false;
    Shown shown;
    THashQueue queue(64, workers, Jobs());
    ExpectEveryOutcomeInOrder(queue, 64, shown);
  }
}

TEST(HashQueueThreads, ACancelTakenBackHashesTheFilesAgain) {
  ResetCounts();
  CancelFlag = false;
  cancelled = false;
  job1Cancels = true;
  THashQueue::OnJobStart = [](std::size_t index) {
    // Job 0 waits for job 1's cancel, so that it is stopped too.
    if (index == 0) {
      while (!cancelled) std::this_thread::yield();
    }
  };
  Shown shown;
  {
    THashQueue queue(64, 4, Jobs());
    // The cancel is taken back before the first outcome is taken (an intake started meanwhile).
    while (timesEnded[0] == 0) std::this_thread::yield();
    job1Cancels = false;
    CancelFlag = false;
    ExpectEveryOutcomeInOrder(queue, 64, shown);
  }
  EXPECT_EQ(timesStarted[0].load(), 2) << "the cancelled job was hashed again";
  THashQueue::OnJobStart = nullptr;
}

}  // namespace
