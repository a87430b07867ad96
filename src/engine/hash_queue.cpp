#include "engine/hash_queue.h"

#include <chrono>
#include <utility>

#include "engine/progress_text.h"
#include "win/processors.h"

namespace {

// How far the workers may run ahead of the taking thread: enough to keep every core busy on
// small files, little to throw away on a cancel.
constexpr std::size_t kLookahead = 256;
// How long the taking thread sleeps between two looks at the window's messages.
constexpr std::chrono::milliseconds kWaitStep{5};

}  // namespace

THashQueue::THashQueue(std::size_t count, unsigned workers, JobAt jobAt, const std::stop_token& cancel)
    : count_(count),
      workers_(workers == 0 ? win::UsableProcessorCount() : workers),
      jobAt_(std::move(jobAt)),
      slots_(kLookahead) {
  cancelled_.emplace(cancel, [this] { stop_.request_stop(); });
  work_ = std::make_unique<OrderedWork>(0, count_, workers_, slots_.size(),
                                        [this](std::size_t index, std::size_t slot) { Work(index, slot); });
}

THashQueue::~THashQueue() {
  // Left before every outcome was taken: the workers stop at their next block, then are joined.
  stop_.request_stop();
  work_.reset();
}

void THashQueue::Work(std::size_t index, std::size_t slot) {
  // Once per worker: the window's thread wins a core whenever it has messages to answer.
  thread_local const bool lowered = (win::LowerThreadPriority(), true);
  (void)lowered;
  Slot& mine = slots_[slot];
  mine.progress.job = 0;
  mine.progress.position = 0;
  mine.progress.size = -1;
  mine.progress.job = index + 1;
  try {
    if (OnJobStart) OnJobStart(index);
    const THashJob job = jobAt_(index);
    mine.failure = HashFileInWorker(job.kind, job.path, mine.hashText, mine.fileSize, &mine.progress, job.digestBytes,
                                    stop_.get_token());
  } catch (...) {
    // A worker never ends the program: whatever went wrong is this file's read error.
    mine.failure = THashFailure::ReadError;
    mine.hashText.clear();
    mine.fileSize = 0;
  }
}

void THashQueue::ShowProgress(std::size_t index, TRunObserver& observer, std::string& shownName,
                              std::int64_t& shownPosition) {
  const TFileProgress& progress = slots_[work_->Slot(index)].progress;
  if (progress.job != index + 1) return;
  const std::int64_t size = progress.size;
  const std::int64_t position = progress.position;
  if (size < 0 || position == shownPosition) return;
  if (shownName.empty()) shownName = jobAt_(index).path;
  shownPosition = position;
  ProgressText text(shownName, size);
  observer.SetText(text.At(position));
}

THashFailure THashQueue::Take(std::size_t index, TRunObserver& observer, bool showProgress, std::string& hashText,
                              std::int64_t& fileSize) {
  std::string shownName;
  std::int64_t shownPosition = -1;
  while (!work_->WaitFor(index, kWaitStep)) {
    if (showProgress) ShowProgress(index, observer, shownName, shownPosition);
    observer.Waiting();
  }
  Slot& slot = slots_[work_->Slot(index)];
  hashText = std::move(slot.hashText);
  slot.hashText = std::string();
  fileSize = slot.fileSize;
  const THashFailure failure = slot.failure;
  work_->Release(index);
  return failure;
}
