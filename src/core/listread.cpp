#include "core/listread.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view TrimEnd(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

bool IsTableHeader(const ListEntry& entry, std::string_view title) {
  return entry.name == "Name" && entry.hash == title && entry.size == "Bytes";
}

bool IsTableHeaderLine(std::string_view line) {
  const std::optional<ListEntry> entry = SplitTableLine(line);
  return entry && (IsTableHeader(*entry, "CRC") || IsTableHeader(*entry, "CRC32"));
}

bool IsSeparatorLine(std::string_view line) {
  const std::optional<ListEntry> entry = SplitTableLine(line);
  return entry && entry->name.starts_with('-') && entry->hash.starts_with('-') && entry->size.starts_with('-');
}

// Length of the line that starts the text and of its line end (0 when the end is not in sight).
struct LineSpan {
  std::size_t length = 0;
  std::size_t endLength = 0;
};

LineSpan FirstLine(std::string_view text) {
  const std::size_t end = text.find_first_of("\r\n");
  if (end == std::string_view::npos) return {text.size(), 0};
  const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
  return {end, crlf ? std::size_t{2} : std::size_t{1}};
}

}  // namespace

bool IsChecksumListStart(std::string_view firstBytes) {
  return firstBytes.starts_with("Name ") || IsMD5Line(firstBytes);
}

bool IsMD5Line(std::string_view line) {
  if (line.size() < 33 || line[32] != ' ') return false;
  for (std::size_t i = 0; i < 32; ++i) {
    if (!IsHexDigit(line[i])) return false;
  }
  return true;
}

std::optional<ListEntry> SplitTableLine(std::string_view line) {
  line = TrimEnd(line);
  const std::size_t sizeSpace = line.rfind(' ');
  if (sizeSpace == std::string_view::npos) return std::nullopt;
  ListEntry entry;
  entry.size = line.substr(sizeSpace + 1);
  line = TrimEnd(line.substr(0, sizeSpace));
  const std::size_t hashSpace = line.rfind(' ');
  if (hashSpace == std::string_view::npos) return std::nullopt;
  entry.hash = line.substr(hashSpace + 1);
  entry.name = TrimEnd(line.substr(0, hashSpace));
  return entry;
}

std::optional<ListEntry> SplitMD5Line(std::string_view line) {
  if (!IsMD5Line(line)) return std::nullopt;
  ListEntry entry;
  entry.hash = line.substr(0, 32);
  std::string_view name = line.substr(32);
  while (!name.empty() && IsBlank(name.front())) name.remove_prefix(1);
  if (name.starts_with('*')) name.remove_prefix(1);
  entry.name = name;
  return entry;
}

bool StripTableHeader(std::vector<std::string>& lines, std::string_view title) {
  if (lines.size() < 3) return false;
  const std::optional<ListEntry> header = SplitTableLine(lines[0]);
  if (!header || !IsTableHeader(*header, title)) return false;
  if (!IsSeparatorLine(lines[1])) return false;
  lines.erase(lines.begin(), lines.begin() + 2);
  return true;
}

THashType DetectListKind(std::vector<std::string>& lines) {
  if (StripTableHeader(lines, "CRC")) return THashType::CRC16;
  if (StripTableHeader(lines, "CRC32")) return THashType::CRC32;
  if (!lines.empty() && IsMD5Line(lines.front())) return THashType::MD5;
  return THashType::None;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const LineSpan line = FirstLine(text);
    lines.emplace_back(text.substr(0, line.length));
    text.remove_prefix(line.length + line.endLength);
  }
  return lines;
}

bool ListTextMayContinue(std::string_view textSoFar) {
  const LineSpan first = FirstLine(textSoFar);
  if (first.endLength == 0) return true;
  const std::string_view firstLine = textSoFar.substr(0, first.length);
  if (IsMD5Line(firstLine)) return true;
  if (!IsTableHeaderLine(firstLine)) return false;

  // Text that ends in the CR of a CR LF has no second line yet: rest is empty.
  const std::string_view rest = textSoFar.substr(first.length + first.endLength);
  const LineSpan second = FirstLine(rest);
  if (second.endLength == 0) return true;
  return IsSeparatorLine(rest.substr(0, second.length));
}

bool IsAbsoluteListName(std::string_view name) {
  if (name.starts_with("\\\\")) return true;
  if (name.size() < 3 || name[1] != ':' || name[2] != '\\') return false;
  const char drive = name[0];
  return (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
}
