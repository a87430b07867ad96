#pragma once

#include <cstddef>
#include <string>

#include "core/listtext.h"
#include "core/progress.h"
#include "core/verify.h"
#include "engine/hash_file.h"

// What a run reports, and the one way it lets the user interface breathe. A list page is one
// implementation, a test another. Runs read their cancel before every file (and HashFile before
// every block); this interface only shows and pumps.
//
// ProcessMessages lets queued messages run (an implementation may pace them); SetText takes a
// line of progress (the file being read, "name (position/size)", and for creation the total
// line after every file).
class TRunObserver : public MessagePump, public TextPanel {
 public:
  // The run turns to the file of entry index, of count.
  virtual void FileStarting(std::size_t index, std::size_t count) = 0;
  // Creation: the row of a file that could be hashed.
  virtual void RowAdded(ChecksumRow /*row*/) {}
  // Creation: a file that could not be hashed and has no row (path UTF-8).
  virtual void FileLeftOut(std::string /*path*/, THashFailure /*reason*/) {}
  // Verification: the outcome of the entry at index.
  virtual void RowVerified(std::size_t /*index*/, TVerification /*verification*/) {}
  // The run waits for a worker's result and has nothing else to do: a round of messages costs
  // it nothing now. By default the same as ProcessMessages.
  virtual void Waiting() { ProcessMessages(); }
  // The work is done: what was shown at a pace is brought up to date and every queued message
  // runs, so that a cancel that came during the last file is seen.
  virtual void Settle() = 0;

 protected:
  ~TRunObserver() = default;
};

// How a run ended: cancelled or not, and the number of entries (or files) it finished.
struct TRunResult {
  bool cancelled = false;
  std::size_t done = 0;
  std::size_t leftOut = 0;  // creation: files without a row
};
