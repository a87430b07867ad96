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
// tells it (digest lengths, BSD tags).
struct ListFields {
  std::string_view name, hash, size;
  THashType kind = THashType::None;
  bool escaped = false;  // the name holds backslash escapes (GNU, BSD)
};

// The entry of the fields, an escaped name with its escapes undone.
ListEntry ToListEntry(const ListFields& fields);

// The probe on the first bytes of a file (kProbeBytes at most), as text: for the whole file, whether
// it is a list of any form (DetectListStart); for its first bytes, whether they begin with "Name ",
// an MD5 line, or a first line that ListTextMayContinue lets go on (a first line longer than the
// bytes read may be any).
constexpr std::size_t kProbeBytes = 512;
bool IsChecksumListStart(std::string_view firstBytes, bool wholeFile);

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

// The shapes a checksum list comes in: the program's own table (CRC16 or CRC32) and MD5 layout,
// then the files of other tools (list_forms.h).
enum class ListForm : std::uint8_t { None, Table16, Table32, Md5, Gnu, Bsd, Sfv, Digest };

// A list's form, its kind (the first entry's, for forms whose lines tell their own) and where its
// entries begin in its text.
struct ListStart {
  ListForm form = ListForm::None;
  THashType kind = THashType::None;
  std::size_t firstEntry = 0;  // offset of the first entry's line
};

// In this order: a table when the first line is the header "Name", "CRC" or "CRC32", "Bytes"
// (exact case), the second a separator of three "-" fields, and text follows it (entries begin
// after the separator); the MD5 layout when the first line is an MD5 line; a lone digest; GNU or
// BSD when the first line that is not blank is such a line; SFV when the first line that is no
// comment and not blank is one. Else None.
ListStart DetectListStart(std::string_view text);

// True when the form's lines that do not split are passed over (the other tools' files, as
// their own tools do); false when the first of them ends the list (the program's own layouts).
constexpr bool SkipsBadLines(ListForm form) {
  return form == ListForm::Gnu || form == ListForm::Bsd || form == ListForm::Sfv;
}

// The line rule of a form (SplitTableFields, SplitMD5Fields or an escaped 32-digit GNU line,
// list_forms.h), the entry's kind filled in; nullopt for a line of another shape and for
// ListForm::None and Digest, which has no lines.
std::optional<ListFields> SplitFormFields(std::string_view line, ListForm form);

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
// neither a "CRC"/"CRC32" table header, an MD5 line, a line of another tool's form, a lone digest,
// an SFV comment nor blank; or it is a table header and the second line is complete and no
// separator. Lets a loader stop reading a large non-list early.
bool ListTextMayContinue(std::string_view textSoFar);

// Drive letter + ":" + "\", or beginning with "\\": a name that verification takes as it stands
// instead of below the list's folder.
bool IsAbsoluteListName(std::string_view name);
