#include "core/listread.h"

#include "core/list_forms.h"

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

std::string_view TrimBlanksEnd(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

ListEntry ToListEntry(const ListFields& fields) {
  // Lines with an escaped name split only when it unescapes.
  std::string name = fields.escaped ? UnescapeName(fields.name).value_or(std::string()) : std::string(fields.name);
  return {std::move(name), std::string(fields.hash), std::string(fields.size)};
}

LineSpan FirstLine(std::string_view text) {
  const std::size_t end = text.find_first_of("\r\n");
  if (end == std::string_view::npos) return {text.size(), 0};
  if (text[end] == '\n') return {end, 1};
  std::size_t after = end;
  while (after < text.size() && text[after] == '\r') ++after;
  if (after < text.size() && text[after] == '\n') return {end, after + 1 - end};
  return {end, 1};
}

std::optional<ListFields> SplitTableFields(std::string_view line) {
  line = TrimBlanksEnd(line);
  const std::size_t sizeSpace = line.rfind(' ');
  if (sizeSpace == std::string_view::npos) return std::nullopt;
  ListFields fields;
  fields.size = line.substr(sizeSpace + 1);
  line = TrimBlanksEnd(line.substr(0, sizeSpace));
  const std::size_t hashSpace = line.rfind(' ');
  if (hashSpace == std::string_view::npos) return std::nullopt;
  fields.hash = line.substr(hashSpace + 1);
  fields.name = TrimBlanksEnd(line.substr(0, hashSpace));
  return fields;
}

std::optional<ListEntry> SplitTableLine(std::string_view line) {
  const std::optional<ListFields> fields = SplitTableFields(line);
  if (!fields) return std::nullopt;
  return ToListEntry(*fields);
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

bool IsAbsoluteListName(std::string_view name) {
  if (name.starts_with("\\\\")) return true;
  if (name.size() < 3 || name[1] != ':' || name[2] != '\\') return false;
  const char drive = name[0];
  return (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
}
