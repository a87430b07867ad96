// libFuzzer target for the checksum list reader: arbitrary bytes go through the probe, line
// splitting, kind detection, line splitting of every entry, the whole-list parser and the loading
// guard, and the reader's promises are checked on the way. Built and run by tools/run-fuzz.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/checksum_list.h"
#include "core/listread.h"
#include "core/listtext.h"

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

// What the reader took from a table must come back unchanged from the table that creation
// writes of it.
void CheckTableRoundTrip(const std::vector<ListEntry>& entries) {
  if (entries.empty()) return;
  std::vector<ChecksumRow> rows;
  for (const ListEntry& entry : entries) rows.push_back({entry.name, entry.hash, entry.size});
  std::vector<std::string> lines = SplitLines(RenderChecksumList(THashType::CRC32, rows, "Total  0 Files  0 Bytes"));
  Check(DetectListKind(lines) == THashType::CRC32, "rendered table not recognised");
  Check(lines.size() == entries.size() + 2, "rendered table has the wrong line count");
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::optional<ListEntry> again = SplitTableLine(lines[i]);
    Check(again && SameEntry(*again, entries[i]), "table entry changed on the round trip");
  }
  Check(!SplitTableLine(lines[entries.size()]), "closing line split as an entry");
}

// Written in binary mode the "*" protects names that begin with blanks or "*".
void CheckMD5RoundTrip(const std::vector<ListEntry>& entries) {
  if (entries.empty()) return;
  std::vector<ChecksumRow> rows;
  for (const ListEntry& entry : entries) rows.push_back({"*" + entry.name, entry.hash, ""});
  std::vector<std::string> lines = SplitLines(RenderChecksumList(THashType::MD5, rows, ""));
  Check(DetectListKind(lines) == THashType::MD5, "rendered MD5 list not recognised");
  Check(lines.size() == entries.size(), "rendered MD5 list has the wrong line count");
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::optional<ListEntry> again = SplitMD5Line(lines[i]);
    Check(again && SameEntry(*again, entries[i]), "MD5 entry changed on the round trip");
  }
}

// The parser is the detection and the kind's line rule, entry by entry, up to the first line that
// does not split. `lines` are the lines left after DetectListKind.
void CheckParsedList(const ChecksumList& list, THashType kind, const std::vector<std::string>& lines) {
  Check(list.kind == kind, "parser and detection disagree on the kind");
  Check(list.entries.size() <= lines.size(), "more entries than lines");
  if (kind == THashType::None) Check(list.entries.empty(), "entries without a list");
  for (std::size_t i = 0; i < list.entries.size(); ++i) {
    const std::optional<ListEntry> entry = SplitListLine(lines[i], kind);
    Check(entry && SameEntry(*entry, list.entries[i]), "parsed entry differs from its line");
  }
  if (list.entries.size() < lines.size()) {
    Check(!SplitListLine(lines[list.entries.size()], kind), "parser stopped at a line that splits");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)IsChecksumListStart(text.substr(0, 33));

  std::vector<std::string> lines = SplitLines(text);
  std::size_t total = 0;
  for (const std::string& line : lines) {
    Check(line.find_first_of("\r\n") == std::string::npos, "line holds a line end");
    total += line.size();
  }
  Check(total <= size, "lines longer than the text");

  const bool mayContinue = ListTextMayContinue(text);
  // The guard never stops a text early that a shorter read had let go on, nor one that is a list.
  for (std::size_t n = 0; n < size && n < 512; ++n) {
    if (!ListTextMayContinue(text.substr(0, n))) {
      Check(!mayContinue, "guard stopped a prefix but lets the whole text go on");
      break;
    }
  }

  const std::size_t lineCount = lines.size();
  const ChecksumList parsed = ParseChecksumList(text);
  const THashType kind = DetectListKind(lines);
  CheckParsedList(parsed, kind, lines);
  if (kind != THashType::None) Check(mayContinue, "guard refuses a recognised list");

  std::vector<ListEntry> entries;
  if (kind == THashType::CRC16 || kind == THashType::CRC32) {
    Check(lines.size() + 2 == lineCount, "header not removed");
    for (const std::string& line : lines) {
      std::optional<ListEntry> entry = SplitTableLine(line);
      if (!entry) break;
      Check(!entry->hash.empty() && !entry->size.empty(), "empty hash or size field");
      Check(entry->hash.find(' ') == std::string::npos && entry->size.find(' ') == std::string::npos,
            "space inside a field");
      entries.push_back(std::move(*entry));
    }
    CheckTableRoundTrip(entries);
  } else if (kind == THashType::MD5) {
    Check(lines.size() == lineCount, "MD5 list lost lines");
    for (const std::string& line : lines) {
      std::optional<ListEntry> entry = SplitMD5Line(line);
      if (!entry) break;
      Check(entry->hash.size() == 32 && entry->size.empty(), "bad MD5 entry");
      entries.push_back(std::move(*entry));
    }
    CheckMD5RoundTrip(entries);
  } else {
    Check(lines.size() == lineCount, "lines changed for no list");
    // Whatever the kind, splitting any line must be safe.
    for (const std::string& line : lines) {
      (void)SplitTableLine(line);
      (void)SplitMD5Line(line);
    }
  }
  (void)IsAbsoluteListName(text);
  return 0;
}
