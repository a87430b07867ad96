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

// The fields of one list line as views into the line.
struct ListFields {
  std::string_view name, hash, size;
};

ListEntry ToListEntry(const ListFields& fields);

// The probe on the first (up to 33) bytes of a file: "Name " or an MD5 line.
bool IsChecksumListStart(std::string_view firstBytes);

// At least 33 bytes, 32 hexadecimal digits (either case), then a space.
bool IsMD5Line(std::string_view line);

// Name, hash and size of a table-layout line, found from the right at its last two spaces, so that
// the name may hold spaces and keeps its leading blanks; nullopt when there are not two fields.
std::optional<ListFields> SplitTableFields(std::string_view line);
std::optional<ListEntry> SplitTableLine(std::string_view line);

// Hash (as written) and name of an MD5-layout line; blanks and one "*" before the name are no part
// of it. The size is always empty.
std::optional<ListFields> SplitMD5Fields(std::string_view line);
std::optional<ListEntry> SplitMD5Line(std::string_view line);

// A list's kind and where its entries begin in its text.
struct ListStart {
  THashType kind = THashType::None;
  std::size_t firstEntry = 0;  // offset of the first entry's line
};

// CRC16 or CRC32 when the first line is the header "Name", "CRC" or "CRC32", "Bytes" (exact
// case), the second a separator of three "-" fields, and text follows it (entries begin after
// the separator); MD5 when the first line is an MD5 line (entries begin with it); else None.
ListStart DetectListStart(std::string_view text);

// The length of the line that begins the text and of its line end (CR LF, LF or CR; 0 when the
// text ends first).
struct LineSpan {
  std::size_t length = 0;
  std::size_t endLength = 0;
};
LineSpan FirstLine(std::string_view text);

// Lines end at CR LF, LF or CR and hold no line-end characters; a final line end gives no extra
// empty line.
std::vector<std::string> SplitLines(std::string_view text);

// Loading guard. A list of 256 MiB (millions of entries) is already far beyond any that creation
// writes for a page; a larger file starting with "Name " or hex digits is taken for no list
// rather than loaded whole into memory.
constexpr std::uint64_t kMaxChecksumListBytes = std::uint64_t{256} * 1024 * 1024;

// False once the text read so far can no longer be a list: its first line is complete and is
// neither a "CRC"/"CRC32" table header nor an MD5 line, or it is a table header and the second
// line is complete and no separator. Lets a loader stop reading a large non-list early.
bool ListTextMayContinue(std::string_view textSoFar);

// Drive letter + ":" + "\", or beginning with "\\": a name that verification takes as it stands
// instead of below the list's folder.
bool IsAbsoluteListName(std::string_view name);
