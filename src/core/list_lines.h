#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/hash_type.h"
#include "core/list_forms.h"
#include "core/listread.h"

// A checksum list line by line. Every line is an entry, a line that every checking tool passes
// over (blank, a comment, the armour of a PGP-signed message), or a malformed line that becomes a
// row of its own; blank lines never end a list. Only the program's own table has an end: its
// closing line of dashes, after which comes its total.

// What a line that is not passed over is to the reader.
enum class LineRole : std::uint8_t { Entry, Malformed };

struct ListLine {
  std::size_t offset = 0;  // where the line's text begins (past a signed message's "- " escape)
  std::size_t length = 0;
  std::size_t number = 0;  // counted from 1, as an editor shows it
  LineRole role = LineRole::Malformed;
  THashType kind = THashType::None;  // an entry's
};

// The fields of a line outside a table by the first rule whose shape it has: tagged, digest
// first, SFV (an eight-digit digest first and an SFV digest last read as SFV unless a "*" marks
// the name). Kind None: the shape of a tagged line whose tag or digest is no kind known here.
std::optional<ListFields> SplitEntryFields(std::string_view line, const DigestLineRules& rules);

// The table's header ("Name", "CRC" or "CRC32", "Bytes", exact case) and separator lines.
THashType TableHeaderKind(std::string_view line);
bool IsSeparatorLine(std::string_view line);

// The lines of a list's text that are not passed over, in order. In the program's table (table:
// CRC16 or CRC32), the first two such lines are its header and separator and are passed over; a
// line that splits by the table rule is an entry, a comment that does not is passed over, the
// closing line of dashes ends the walk, any other line is malformed. Elsewhere each line's form is
// its own (SplitEntryFields).
class ListLineWalker {
 public:
  ListLineWalker(std::string_view text, THashType table, const DigestLineRules& rules);

  // The next line that is not passed over; nullopt at the end.
  std::optional<ListLine> Next();
  // Where the next line begins.
  [[nodiscard]] std::size_t Offset() const { return at_; }

 private:
  enum class Armour : std::uint8_t { None, Header, Body, Signature };
  // False for a line of a signed message's armour, which also moves the walk's armour state.
  bool PassesArmour(std::string_view line);

  std::string_view text_;
  THashType table_;
  DigestLineRules rules_;
  std::size_t at_ = 0;
  std::size_t number_ = 0;
  int tableLinesToPass_ = 0;
  Armour armour_ = Armour::None;
  bool ended_ = false;
};

// How a text holds a list: the program's table, lines of any other form, a lone digest.
enum class ListLayout : std::uint8_t { None, Table, Lines, Digest };

struct ListStart {
  ListLayout layout = ListLayout::None;
  // The table's kind, the lone digest's, or the first entry's.
  THashType kind = THashType::None;
  // No list found in cut text that ended before the window did and before its lines decided:
  // more of the file may still show one.
  bool cutShort = false;
};

// The first bytes of a text that detection looks at, and the malformed lines it passes before an
// entry: a list begins with its entries, after a few lines at most that say what it is.
constexpr std::size_t kDetectionWindow = 64 * 1024;
constexpr int kMaxMalformedBeforeEntry = 8;

// Looks, within the window, for the first line that is not passed over being a table's header
// followed by its separator and more text, else for an entry among the first lines not passed
// over; a whole text may instead be a lone digest (SoleDigest). Unless wholeFile, the text may be
// cut anywhere: its last line is not looked at.
ListStart DetectListStart(std::string_view text, bool wholeFile, std::string_view listFileName = {});

// DetectListStart finds a list.
bool IsChecksumListStart(std::string_view text, bool wholeFile, std::string_view listFileName = {});
