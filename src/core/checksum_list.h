#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/hash_type.h"
#include "core/listread.h"

// A checksum list as verification reads it: its kind and its entries in list order. The list
// keeps its text once and, per entry, only where the entry's line begins; an entry's fields are
// split from its line again when asked for. A list of millions of short lines so costs little
// more than its text. A table whose header is followed only by lines that do not split still has
// its kind, with no entries; the verification window opens an empty page for it.
class ChecksumList {
 public:
  [[nodiscard]] THashType Kind() const { return kind_; }
  [[nodiscard]] std::size_t size() const { return lineStarts_.size(); }
  [[nodiscard]] bool empty() const { return lineStarts_.empty(); }
  // The fields of entry i, views into the list's own text.
  [[nodiscard]] ListFields Fields(std::size_t i) const;
  [[nodiscard]] ListEntry Entry(std::size_t i) const { return ToListEntry(Fields(i)); }

 private:
  friend ChecksumList ParseChecksumList(std::string text);

  THashType kind_ = THashType::None;
  std::string text_;
  std::vector<std::uint32_t> lineStarts_;
};

// Detects the kind (DetectListStart) and splits every line by the kind's rule, stopping at the
// first line that does not split: what follows it (a table's closing line and total, trailing
// text) is no part of the list. Kind None: no list, no entries.
ChecksumList ParseChecksumList(std::string text);

// The line rule of a kind: SplitTableFields for CRC16 and CRC32, SplitMD5Fields for MD5, nullopt
// for any other kind.
std::optional<ListFields> SplitListFields(std::string_view line, THashType kind);
std::optional<ListEntry> SplitListLine(std::string_view line, THashType kind);
