#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/hash_type.h"

// Reading a checksum list. A blank, for trimming, is any byte <= 32; only the space separates
// fields, a tab does not.

struct ListEntry {
  std::string name, hash, size;
};

// The fields of one list line as views into the line, with the kind of its hash when the line
// tells it (digest lengths, tags); kind None for a malformed line, whose name is the line.
struct ListFields {
  std::string_view name, hash, size;
  THashType kind = THashType::None;
  bool escaped = false;  // the name holds backslash escapes (GNU, BSD)
  // 128 digits that the list's name did not tell apart: SHA-512, or else BLAKE2b-512.
  bool orBlake2b = false;
};

// The entry of the fields, an escaped name with its escapes undone.
ListEntry ToListEntry(const ListFields& fields);

// The text without the blanks at its end.
std::string_view TrimBlanksEnd(std::string_view text);

// Name, hash and size of a table-layout line, found from the right at its last two spaces, so that
// the name may hold spaces and keeps its leading blanks; nullopt when there are not two fields.
std::optional<ListFields> SplitTableFields(std::string_view line);
std::optional<ListEntry> SplitTableLine(std::string_view line);

// The length of the line that begins the text and of its line end: LF, CR LF, a CR run before an
// LF (CR CR LF, as text copied through two systems gets), or a lone CR; 0 when the text ends
// first.
struct LineSpan {
  std::size_t length = 0;
  std::size_t endLength = 0;
};
LineSpan FirstLine(std::string_view text);

// Lines as FirstLine ends them, without their line ends; a final line end gives no extra empty
// line.
std::vector<std::string> SplitLines(std::string_view text);

// Loading guard. A list of 256 MiB (millions of entries) is already far beyond any that creation
// writes for a page; a larger file that begins like a list is taken for none rather than loaded
// whole into memory.
constexpr std::uint64_t kMaxChecksumListBytes = std::uint64_t{256} * 1024 * 1024;

// Drive letter + ":" + "\", or beginning with "\\": a name that verification takes as it stands
// instead of below the list's folder.
bool IsAbsoluteListName(std::string_view name);
