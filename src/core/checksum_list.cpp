#include "core/checksum_list.h"

#include <limits>
#include <utility>

namespace {

// Calls entryAt with the offset of every entry line from `from` on, up to the first line that
// does not split by the kind's rule.
template <typename EntryAt>
void ForEachEntryLine(std::string_view text, std::size_t from, THashType kind, EntryAt entryAt) {
  for (std::size_t at = from; at < text.size();) {
    const LineSpan line = FirstLine(text.substr(at));
    if (!SplitListFields(text.substr(at, line.length), kind)) return;
    entryAt(at);
    at += line.length + line.endLength;
  }
}

}  // namespace

ListFields ChecksumList::Fields(std::size_t i) const {
  const std::string_view rest = std::string_view(text_).substr(lineStarts_.at(i));
  // Every recorded line split when the list was parsed.
  return *SplitListFields(rest.substr(0, FirstLine(rest).length), kind_);
}

ChecksumList ParseChecksumList(std::string text) {
  ChecksumList list;
  const ListStart start = DetectListStart(text);
  // Line starts are 32-bit: the loading guard keeps every list far below 4 GiB.
  if (start.kind == THashType::None || text.size() > std::numeric_limits<std::uint32_t>::max()) return list;
  list.kind_ = start.kind;
  // Counted first, so that the starts take their exact room and no growing vector holds twice
  // its size for a moment.
  std::size_t count = 0;
  ForEachEntryLine(text, start.firstEntry, start.kind, [&count](std::size_t) { ++count; });
  list.lineStarts_.reserve(count);
  ForEachEntryLine(text, start.firstEntry, start.kind,
                   [&list](std::size_t at) { list.lineStarts_.push_back(static_cast<std::uint32_t>(at)); });
  list.text_ = std::move(text);
  return list;
}

std::optional<ListFields> SplitListFields(std::string_view line, THashType kind) {
  switch (kind) {
    case THashType::CRC16:
    case THashType::CRC32: return SplitTableFields(line);
    case THashType::MD5: return SplitMD5Fields(line);
    default: return std::nullopt;
  }
}

std::optional<ListEntry> SplitListLine(std::string_view line, THashType kind) {
  const std::optional<ListFields> fields = SplitListFields(line, kind);
  if (!fields) return std::nullopt;
  return ToListEntry(*fields);
}
