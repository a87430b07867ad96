#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Jobs 0, 1, 2, ... done by worker threads, their results taken in order by one other thread
// (the user interface's). Workers start the jobs in index order and run at most `lookahead`
// jobs ahead of the last one taken, so that the results wait in a ring of that many slots
// (slot = index % lookahead) and a cancelled run wastes little. work(index, slot) must not
// throw; it writes its result into the caller's slot, which the caller reads after WaitFor
// and frees with Release. When not every worker can start, the run goes on with those that did;
// when none can, the constructor throws.
class OrderedWork {
 public:
  using Work = std::function<void(std::size_t index, std::size_t slot)>;

  // Jobs first .. count-1 (a run that starts again part-way begins at its first job not done).
  OrderedWork(std::size_t first, std::size_t count, unsigned workers, std::size_t lookahead, Work work);
  ~OrderedWork();
  OrderedWork(const OrderedWork&) = delete;
  OrderedWork& operator=(const OrderedWork&) = delete;

  [[nodiscard]] std::size_t Slot(std::size_t index) const { return index % lookahead_; }
  // True once job index is done; waits at most timeout for it. Jobs are taken in order: index
  // is the one after the last released. A waiting caller is woken when a batch of jobs from
  // index on is done (or the last job), not by every job: each wake-up is a trip through the
  // system, dearer than a small file.
  bool WaitFor(std::size_t index, std::chrono::milliseconds timeout);
  // Job index has been taken: its slot may hold a later job.
  void Release(std::size_t index);
  // No job starts any more; jobs in progress end as their work decides. The destructor also
  // waits for them.
  void Stop();

  // A seam for tests: called before worker i is started; what it throws stands for a thread that
  // could not start.
  static inline std::function<void(std::size_t i)> OnThreadStart;

 private:
  void Run() noexcept;
  void JoinAll() noexcept;
  // With the mutex held: every job of first .. last is done.
  [[nodiscard]] bool AllDone(std::size_t first, std::size_t last) const;

  const std::size_t count_;
  const std::size_t lookahead_;
  const Work work_;
  std::mutex mutex_;
  std::condition_variable done_;   // a job finished
  std::condition_variable space_;  // a slot became free, or the work stopped
  std::size_t next_ = 0;           // the next job to start
  std::size_t released_ = 0;       // jobs before this one were taken
  bool stopped_ = false;
  std::size_t waitFrom_ = 0;  // a waiting caller's batch, when waitTo_ >= waitFrom_
  std::size_t waitTo_ = 0;
  bool waiting_ = false;
  std::vector<std::size_t> finished_;  // per slot: the index + 1 of the job done in it
  std::vector<std::thread> threads_;
};
