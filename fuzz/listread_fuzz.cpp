// libFuzzer target for the whole way from a list file's bytes to a verification page's rows: the
// probe and the loading guard, decoding in any encoding (with a stand-in for the ANSI code page
// that has Shift-JIS's shape), kind detection, the entries, and the page's compact records with
// outcomes recorded and read back. The reader's promises are checked on the way. Built and run by
// tools/run-fuzz.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/checksum_list.h"
#include "core/file_name_rules.h"
#include "core/hex.h"
#include "core/list_bytes.h"
#include "core/list_forms.h"
#include "core/list_lines.h"
#include "core/listread.h"
#include "core/listtext.h"
#include "core/text_encoding.h"
#include "core/utf8.h"
#include "core/verification_table.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "listread_fuzz: %s\n", what);
    std::abort();
  }
}

bool SameEntry(const ListEntry& a, const ListEntry& b) {
  return a.name == b.name && a.hash == b.hash && a.size == b.size;
}

bool IsLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrail(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

// Shift-JIS's shape without its tables: a lead and a trail byte are one character, a byte of
// 0xA1-0xDF is a half-width one, anything else above ASCII is no character.
std::string FuzzAnsi(std::string_view ansi) {
  std::string text;
  for (std::size_t i = 0; i < ansi.size(); ++i) {
    const auto c = static_cast<unsigned char>(ansi[i]);
    if (c < 0x80) {
      text += static_cast<char>(c);
    } else if (IsLead(c) && i + 1 < ansi.size() && IsTrail(static_cast<unsigned char>(ansi[i + 1]))) {
      AppendUtf8(text, 0x4E00 + ((c - 0x81) << 8) + static_cast<unsigned char>(ansi[++i]));
    } else if (c >= 0xA1 && c <= 0xDF) {
      AppendUtf8(text, 0xFF61 + (c - 0xA1));
    } else {
      text += kNoCharacter;
    }
  }
  return text;
}

// What the reader took from a table must come back unchanged from the table that creation
// writes of it.
void CheckTableRoundTrip(const std::vector<ListEntry>& entries) {
  if (entries.empty()) return;
  std::vector<ChecksumRow> rows;
  for (const ListEntry& entry : entries) rows.push_back({entry.name, entry.hash, entry.size});
  const ChecksumList again = ParseChecksumList(RenderChecksumList(THashType::CRC32, rows, "Total  0 Files  0 Bytes"));
  Check(again.Kind() == THashType::CRC32, "rendered table not recognised");
  // The closing line ends the entries; the total after it is not read.
  Check(again.size() == entries.size(), "rendered table has the wrong entry count");
  for (std::size_t i = 0; i < entries.size(); ++i) {
    Check(SameEntry(again.Entry(i), entries[i]), "table entry changed on the round trip");
  }
}

// MD5 entries written again in the program's own layout, plain and in binary mode, read back the
// same: names with blanks at either end among them.
void CheckMD5RoundTrip(const std::vector<ListEntry>& entries) {
  std::vector<ListEntry> md5;
  for (const ListEntry& entry : entries) {
    // No Windows name is blank, holds a line end or a NUL or begins with "*", and creation never
    // writes one.
    if (entry.hash.size() == 32 && !IsBlankLine(entry.name) &&
        entry.name.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos && !entry.name.starts_with('*')) {
      md5.push_back(entry);
    }
  }
  if (md5.empty()) return;
  for (const bool binary : {false, true}) {
    std::vector<ChecksumRow> rows;
    for (const ListEntry& entry : md5) rows.push_back({(binary ? "*" : "") + entry.name, entry.hash, ""});
    const ChecksumList again = ParseChecksumList(RenderChecksumList(THashType::MD5, rows, ""));
    Check(again.Kind() == THashType::MD5, "rendered MD5 list not recognised");
    Check(again.size() == md5.size(), "rendered MD5 list has the wrong entry count");
    for (std::size_t i = 0; i < md5.size(); ++i) {
      Check(SameEntry(again.Entry(i), md5[i]), "MD5 entry changed on the round trip");
    }
  }
}

// Every line of a list is a row or passed over for a reason: blank, a comment, the armour of a
// signed message, or after a table's closing line.
std::vector<ListEntry> CheckRows(const ChecksumList& list, std::string_view text) {
  const ListStart start = DetectListStart(text, true, "list.sha256");
  Check(list.Kind() == start.kind && list.Layout() == start.layout, "parser and detection disagree");
  std::vector<ListEntry> entries;
  if (start.layout == ListLayout::None) {
    Check(list.empty(), "rows without a list");
    return entries;
  }
  if (start.layout == ListLayout::Digest) {
    Check(list.size() == 1 && list.Entry(0).name == "list" && list.Entry(0).hash == *SoleDigest(text, "list.sha256"),
          "a lone digest is not the list file's one entry");
    return {list.Entry(0)};
  }
  if (start.layout == ListLayout::Lines && text.find("-----BEGIN PGP") == std::string_view::npos) {
    std::size_t lines = 0;
    for (const std::string& line : SplitLines(text)) lines += !IsBlankLine(line) && !IsCommentLine(line);
    Check(list.size() == lines, "a line is neither a row nor passed over");
  }
  std::size_t lastLine = 0;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const ListEntry entry = list.Entry(i);
    entries.push_back(entry);
    Check(list.LineNumber(i) > lastLine, "line numbers out of order");
    lastLine = list.LineNumber(i);
    const ListFields fields = list.Fields(i);
    Check((fields.kind == THashType::None) == list.IsMalformed(i), "a malformed row with a kind or an entry without");
    if (list.IsMalformed(i)) continue;
    if (IsDigestKind(fields.kind) && fields.kind != THashType::BLAKE2b) {
      Check(entry.hash.size() == static_cast<std::size_t>(HashTextLength(fields.kind)) && entry.size.empty(),
            "bad digest entry");
    } else if (start.layout == ListLayout::Table) {
      Check(!entry.hash.empty() && !entry.size.empty(), "empty hash or size field");
      Check(entry.hash.find(' ') == std::string::npos && entry.size.find(' ') == std::string::npos,
            "space inside a field");
    }
    // A name that holds a NUL or a byte that was no character names no file.
    if (entry.name.find('\0') != std::string::npos || entry.name.find(kNoCharacter) != std::string::npos) {
      Check(!IsUsablePath(entry.name), "a broken name passes for a usable one");
    }
    (void)NamesReservedDevice(entry.name);
  }
  return entries;
}

// A page records some outcome for every row and shows exactly what it recorded.
void CheckRecords(ChecksumList list, const std::vector<ListEntry>& entries) {
  std::vector<bool> malformed;
  for (std::size_t i = 0; i < list.size(); ++i) malformed.push_back(list.IsMalformed(i));
  VerificationTable table(std::move(list));
  Check(table.size() == entries.size(), "records and entries differ in number");
  std::vector<TVerification> recorded;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    TVerification verification;
    switch (i % 4) {
      case 0: verification = {TVerifyResult::Correct, AsciiUpper(entries[i].hash), entries[i].size}; break;
      case 1: verification = {TVerifyResult::OpenFailed, "", ""}; break;
      case 2: verification = {TVerifyResult::HashMismatch, entries[i].name.substr(0, 8), entries[i].size}; break;
      default: verification = {TVerifyResult::SizeMismatch, entries[i].hash, entries[i].size + "0"}; break;
    }
    if (malformed[i]) verification = {TVerifyResult::Malformed, "", ""};
    if (i % 5 == 4) continue;  // some rows stay unverified
    table.Record(i, verification);
    recorded.resize(i + 1);
    recorded[i] = verification;
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const TVerification shown = table.Verification(i);
    if (i >= recorded.size() || i % 5 == 4) {
      Check(!table.Result(i) && shown.foundHash.empty() && shown.foundBytes.empty(), "unverified row shows texts");
      continue;
    }
    Check(table.Result(i) == recorded[i].result && shown.result == recorded[i].result, "outcome changed");
    Check(shown.foundHash == recorded[i].foundHash && shown.foundBytes == recorded[i].foundBytes,
          "found texts changed");
    Check(!table.ResultText(i).empty() || recorded[i].result == TVerifyResult::Correct, "an error without its text");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const bool whole = size <= kDetectionWindow;
  const bool probed = IsChecksumListStart(std::string_view(bytes).substr(0, kDetectionWindow), whole, "list.sha256");

  const std::string text = DecodeListBytes(bytes, FuzzAnsi);
  ChecksumList list = ParseChecksumListBytes(bytes, FuzzAnsi, "list.sha256");
  const std::vector<ListEntry> entries = CheckRows(list, text);
  // An ASCII list is read as its bytes: the probe, which looks at its first bytes, must let it
  // be loaded.
  if (list.Kind() != THashType::None && !HasNonAscii(bytes) && EncodingFromBom(bytes).bomLength == 0) {
    Check(probed, "probe refuses a recognised list");
  }

  if (list.Layout() == ListLayout::Table) {
    std::vector<ListEntry> tableEntries;
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (!list.IsMalformed(i)) tableEntries.push_back(entries[i]);
    }
    CheckTableRoundTrip(tableEntries);
  } else if (list.Layout() == ListLayout::Lines) {
    CheckMD5RoundTrip(entries);
  }
  CheckRecords(std::move(list), entries);
  (void)IsAbsoluteListName(text);
  return 0;
}
