#include "core/checksum_list.h"

#include <utility>

ChecksumList ParseChecksumList(std::vector<std::string> lines) {
  ChecksumList list;
  list.kind = DetectListKind(lines);
  list.entries.reserve(list.kind == THashType::None ? 0 : lines.size());
  for (const std::string& line : lines) {
    std::optional<ListEntry> entry = SplitListLine(line, list.kind);
    if (!entry) break;
    list.entries.push_back(std::move(*entry));
  }
  return list;
}

ChecksumList ParseChecksumList(std::string_view text) { return ParseChecksumList(SplitLines(text)); }

std::optional<ListEntry> SplitListLine(std::string_view line, THashType kind) {
  switch (kind) {
    case THashType::CRC16:
    case THashType::CRC32: return SplitTableLine(line);
    case THashType::MD5: return SplitMD5Line(line);
    default: return std::nullopt;
  }
}
