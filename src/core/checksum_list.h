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
  // The list's kind: its table's, or its first entry's where each line tells its own (a BSD
  // list may mix kinds; each entry's fields carry its kind).
  [[nodiscard]] THashType Kind() const { return kind_; }
  [[nodiscard]] ListForm Form() const { return form_; }
  [[nodiscard]] std::size_t size() const { return lineStarts_.size(); }
  [[nodiscard]] bool empty() const { return lineStarts_.empty(); }
  // The fields of entry i, views into the list's own text.
  [[nodiscard]] ListFields Fields(std::size_t i) const;
  [[nodiscard]] ListEntry Entry(std::size_t i) const { return ToListEntry(Fields(i)); }

 private:
  friend ChecksumList ParseChecksumList(std::string text, std::string_view listFileName);

  THashType kind_ = THashType::None;
  ListForm form_ = ListForm::None;
  std::string text_;
  std::string digestName_;  // the one entry's name of a lone digest
  std::vector<std::uint32_t> lineStarts_;
};

// Detects the form (DetectListStart) and splits every line by the form's rule. In the program's
// own layouts the first line that does not split ends the list: what follows it (a table's
// closing line and total, trailing text) is no part of it. The other tools' files pass over such
// lines, as their tools do. A lone digest names the list file's own name without its last
// extension (listFileName, the name alone); without an extension it is no list. Kind None: no
// list, no entries.
ChecksumList ParseChecksumList(std::string text, std::string_view listFileName = {});

// SplitFormFields as an entry.
std::optional<ListEntry> SplitListLine(std::string_view line, ListForm form);
