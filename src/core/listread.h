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

// The probe on the first (up to 33) bytes of a file: "Name " or an MD5 line.
bool IsChecksumListStart(std::string_view firstBytes);

// At least 33 bytes, 32 hexadecimal digits (either case), then a space.
bool IsMD5Line(std::string_view line);

// Name, hash and size of a table-layout line, found from the right at its last two spaces, so that
// the name may hold spaces and keeps its leading blanks; nullopt when there are not two fields.
std::optional<ListEntry> SplitTableLine(std::string_view line);

// Hash (as written) and name of an MD5-layout line; blanks and one "*" before the name are no part
// of it. The size is always empty.
std::optional<ListEntry> SplitMD5Line(std::string_view line);

// Removes the header and separator lines when the first line is the header "Name", title, "Bytes"
// (exact case), the second a separator of three "-" fields, and at least one line follows.
bool StripTableHeader(std::vector<std::string>& lines, std::string_view title);

// CRC16 or CRC32 (header and separator then removed), MD5, or None for no checksum list.
THashType DetectListKind(std::vector<std::string>& lines);

// Lines end at CR LF, LF or CR and hold no line-end characters; a final line end gives no extra
// empty line.
std::vector<std::string> SplitLines(std::string_view text);

// Loading guard. A list line costs a verification page several times its length in records, so a
// list of 256 MiB (millions of entries) is already far beyond any that creation writes for a
// page; a larger file starting with "Name " or hex digits is taken for no list rather than
// loaded whole into memory.
constexpr std::uint64_t kMaxChecksumListBytes = std::uint64_t{256} * 1024 * 1024;

// False once the text read so far can no longer be a list: its first line is complete and is
// neither a "CRC"/"CRC32" table header nor an MD5 line, or it is a table header and the second
// line is complete and no separator. Lets a loader stop reading a large non-list early.
bool ListTextMayContinue(std::string_view textSoFar);

// Drive letter + ":" + "\", or beginning with "\\": a name that verification takes as it stands
// instead of below the list's folder.
bool IsAbsoluteListName(std::string_view name);
