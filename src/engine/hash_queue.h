#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "core/hash_type.h"
#include "core/ordered_work.h"
#include "engine/hash_file.h"
#include "engine/run_observer.h"

// What to hash for one entry of a run.
struct THashJob {
  THashType kind = THashType::None;
  std::string path;
  std::size_t digestBytes = 0;  // the digest's length in bytes, 0 for the kind's own (see HashFile)
};

// The files of a run hashed by worker threads, ahead of the user-interface thread, which takes
// the outcomes in order. While it waits for one, queued messages run (at the observer's pace)
// and, when asked, the file's progress shows, so the window answers whatever the hashing does.
// Workers read the run's cancel between blocks like HashFile; a job that it stopped is taken as
// cancelled. The queue has a stop of its own too: leaving it early (an observer that throws)
// stops the workers before they are joined.
class THashQueue {
 public:
  // jobAt is called on worker threads (and on the calling thread): it must only read.
  using JobAt = std::function<THashJob(std::size_t index)>;

  // workers 0: as many as the process may use. cancel is the run's.
  THashQueue(std::size_t count, unsigned workers, JobAt jobAt, const std::stop_token& cancel);
  ~THashQueue();
  THashQueue(const THashQueue&) = delete;
  THashQueue& operator=(const THashQueue&) = delete;

  // A seam for tests: called on the worker as it starts a job, before the file is opened.
  static inline std::function<void(std::size_t index)> OnJobStart;

  // The outcome of job index; indexes are taken in order, each once.
  THashFailure Take(std::size_t index, TRunObserver& observer, bool showProgress, std::string& hashText,
                    std::int64_t& fileSize);

 private:
  struct Slot {
    TFileProgress progress;
    THashFailure failure = THashFailure::None;
    std::string hashText;
    std::int64_t fileSize = 0;
  };
  void Work(std::size_t index, std::size_t slot);
  void ShowProgress(std::size_t index, TRunObserver& observer, std::string& shownName, std::int64_t& shownPosition);

  std::size_t count_;
  unsigned workers_;
  JobAt jobAt_;
  std::vector<Slot> slots_;
  std::stop_source stop_;
  std::optional<std::stop_callback<std::function<void()>>> cancelled_;  // the run's cancel stops this queue
  std::unique_ptr<OrderedWork> work_;                                   // last: its workers use the slots and the stop
};
