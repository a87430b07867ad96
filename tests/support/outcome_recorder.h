#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/run_observer.h"

// The rows, left-out files and outcomes that a run reports, nothing else.
class OutcomeRecorder final : public TRunObserver {
 public:
  void FileStarting(std::size_t, std::size_t) override {}
  void SetText(std::string_view) override {}
  void ProcessMessages() override {}
  void Settle() override {}
  void RowAdded(ChecksumRow row) override { rows.push_back(std::move(row)); }
  void FileLeftOut(std::string path, THashFailure reason) override { leftOut.emplace_back(std::move(path), reason); }
  void RowVerified(std::size_t, TVerification verification) override { results.push_back(verification.result); }

  std::vector<ChecksumRow> rows;
  std::vector<std::pair<std::string, THashFailure>> leftOut;
  std::vector<TVerifyResult> results;
};
