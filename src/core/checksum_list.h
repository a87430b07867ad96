#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/hash_type.h"
#include "core/list_forms.h"
#include "core/list_lines.h"
#include "core/listread.h"

// A checksum list as verification reads it: its rows in list order, each an entry or a malformed
// line. The list keeps its text once and, per row, only where its line begins; a row's fields are
// split from its line again when asked for. A list of millions of short lines so costs little
// more than its text. A table whose header is followed only by lines that are no entries still
// has its kind; the verification window opens a page for it.
class ChecksumList {
 public:
  // The list's kind: its table's, or its first entry's where each line tells its own (a list
  // may mix kinds; each entry's fields carry its kind).
  [[nodiscard]] THashType Kind() const { return kind_; }
  [[nodiscard]] ListLayout Layout() const { return layout_; }
  // Rows: entries and malformed lines.
  [[nodiscard]] std::size_t size() const { return rows_.size(); }
  [[nodiscard]] bool empty() const { return rows_.empty(); }
  [[nodiscard]] bool IsMalformed(std::size_t i) const { return (rows_.at(i) & kMalformed) != 0; }
  // The line of row i in the list file, counted from 1.
  [[nodiscard]] std::size_t LineNumber(std::size_t i) const;
  // The fields of row i, views into the list's own text; a malformed line is the name of fields
  // of kind None.
  [[nodiscard]] ListFields Fields(std::size_t i) const;
  [[nodiscard]] ListEntry Entry(std::size_t i) const { return ToListEntry(Fields(i)); }
  // The list with row i alone, which keeps its line number and the list's rules.
  [[nodiscard]] ChecksumList OnlyRow(std::size_t i) const;

 private:
  friend ChecksumList ParseChecksumList(std::string text, std::string_view listFileName);

  // A row is where its line begins, with the top bit for a malformed one: the loading guard keeps
  // every text, also decoded, far below 2 GiB.
  static constexpr std::uint32_t kMalformed = 0x80000000u;
  // The line number of every so many rows, from which the others are counted.
  static constexpr std::size_t kNumberedEvery = 4096;
  [[nodiscard]] std::size_t Offset(std::size_t i) const { return rows_.at(i) & ~kMalformed; }

  THashType kind_ = THashType::None;
  ListLayout layout_ = ListLayout::None;
  DigestLineRules rules_;
  std::string text_;
  std::string digestName_;  // the one entry's name of a lone digest
  std::vector<std::uint32_t> rows_;
  std::vector<std::uint32_t> lineNumbers_;
};

// Detects the layout (DetectListStart) and walks every line (ListLineWalker): entries and
// malformed lines become rows, in the order of the text. A lone digest names the list file's own
// name without its last extension (listFileName, the name alone); without an extension it is no
// list. Kind None: no list, no rows.
ChecksumList ParseChecksumList(std::string text, std::string_view listFileName = {});
