#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/checksum_list.h"
#include "core/verify.h"

// The rows of a verification page: a list's entries and what verifying each one found. A row
// costs one byte beyond its list line: the found hash and size are kept only for a row whose
// found texts are not the expected ones (a mismatch); a correct row shows its expected texts
// (the hash in upper case, as hashing writes it), a row that could not be opened none. After the
// list's rows may come rows of files, each with its name and outcome alone: files that the list
// does not name, or the file that was no list.
class VerificationTable {
 public:
  VerificationTable() = default;
  explicit VerificationTable(ChecksumList list);

  [[nodiscard]] const ChecksumList& List() const { return list_; }
  [[nodiscard]] std::size_t size() const { return rows_.size() + fileRows_.size(); }
  // The rows that the list names; the unlisted rows follow them.
  [[nodiscard]] std::size_t ListedCount() const { return rows_.size(); }

  // The entry of row i as the list writes it; a row of a file has its name alone.
  [[nodiscard]] ListEntry Entry(std::size_t i) const;
  // The kind row i is verified with: its own for a listed row (BLAKE2b once a 128-digit entry
  // matched as that), the list's for an unlisted one, None for a malformed line.
  [[nodiscard]] THashType Kind(std::size_t i) const;
  // A row for a file that the list does not name, with the outcome Unlisted.
  void AddUnlisted(std::string name) { fileRows_.push_back({std::move(name), TVerifyResult::Unlisted, {}}); }
  // The row of a file that was given as a list and is none.
  void AddNotAList(std::string name) { fileRows_.push_back({std::move(name), TVerifyResult::NotAList, {}}); }
  // The row of a file or folder that could not be read, with the reason its text shows.
  void AddUnreadable(std::string name, std::u8string reason) {
    fileRows_.push_back({std::move(name), TVerifyResult::Unreadable, std::move(reason)});
  }

  // Keeps the outcome of row i.
  void Record(std::size_t i, const TVerification& verification);
  // The outcome of row i; nullopt while it is not verified.
  [[nodiscard]] std::optional<TVerifyResult> Result(std::size_t i) const;
  // The outcome of row i with its found texts (empty while not verified or not found).
  [[nodiscard]] TVerification Verification(std::size_t i) const;
  // The Error column's text of row i: VerifyResultText by its kind, a malformed line's with its
  // line number, an unreadable one's with its reason; empty while not verified.
  [[nodiscard]] std::u8string ResultText(std::size_t i) const;

 private:
  struct StoredFound {
    std::uint32_t row;
    std::uint32_t hashLength;
    std::uint32_t bytesLength;
    std::size_t offset;  // into storedText_
  };
  static bool RowBefore(std::size_t row, const StoredFound& found);

  ChecksumList list_;
  std::vector<std::uint8_t> rows_;
  std::vector<StoredFound> stored_;  // in row order: rows are verified in order
  std::string storedText_;
  struct FileRow {
    std::string name;
    TVerifyResult result;
    std::u8string reason;  // only an unreadable row's
  };
  std::vector<FileRow> fileRows_;
};
