#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/hash_type.h"
#include "core/listread.h"

// A checksum list as verification reads it: its kind and its entries in list order. A table whose
// header is followed only by lines that do not split still has its kind, with no entries; the
// verification window opens an empty page for it.
struct ChecksumList {
  THashType kind = THashType::None;
  std::vector<ListEntry> entries;
};

// Detects the kind (DetectListKind) and splits every line by the kind's rule, stopping at the
// first line that does not split: what follows it (a table's closing line and total, trailing
// text) is no part of the list. Kind None: no list, no entries. `lines` as SplitLines gives them.
ChecksumList ParseChecksumList(std::vector<std::string> lines);

// SplitLines, then the above.
ChecksumList ParseChecksumList(std::string_view text);

// The line rule of a kind: SplitTableLine for CRC16 and CRC32, SplitMD5Line for MD5, nullopt for
// any other kind.
std::optional<ListEntry> SplitListLine(std::string_view line, THashType kind);
