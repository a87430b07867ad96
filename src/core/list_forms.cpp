#include "core/list_forms.h"

#include <array>

#include "core/hex.h"

namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// The length of the run of hex digits the text begins with.
std::size_t HexRun(std::string_view text) {
  std::size_t n = 0;
  while (n < text.size() && IsHexDigit(text[n])) ++n;
  return n;
}

bool IsDigestOf(std::string_view digest, THashType kind) {
  return HexRun(digest) == digest.size() && DigestKindOfLength(digest.size()) == kind && kind != THashType::None;
}

// Undoes a leading "\" when there is one: the rest of the line and whether its name is escaped.
std::pair<std::string_view, bool> EscapeMark(std::string_view line) {
  if (line.starts_with('\\')) return {line.substr(1), true};
  return {line, false};
}

bool NameUnescapes(std::string_view name, bool escaped) { return !escaped || UnescapeName(name).has_value(); }

}  // namespace

std::optional<std::string> UnescapeName(std::string_view name) {
  std::string plain;
  plain.reserve(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] != '\\') {
      plain += name[i];
      continue;
    }
    if (++i == name.size()) return std::nullopt;
    if (name[i] == '\\') {
      plain += '\\';
    } else if (name[i] == 'n') {
      plain += '\n';
    } else {
      return std::nullopt;
    }
  }
  return plain;
}

std::optional<ListFields> SplitGnuFields(std::string_view line) {
  const auto [rest, escaped] = EscapeMark(line);
  const std::size_t digits = HexRun(rest);
  const THashType kind = DigestKindOfLength(digits);
  if (kind == THashType::None || rest.size() < digits + 3 || rest[digits] != ' ') return std::nullopt;
  if (rest[digits + 1] != ' ' && rest[digits + 1] != '*') return std::nullopt;
  ListFields fields;
  fields.hash = rest.substr(0, digits);
  fields.name = rest.substr(digits + 2);
  fields.kind = kind;
  fields.escaped = escaped;
  if (!NameUnescapes(fields.name, escaped)) return std::nullopt;
  return fields;
}

std::optional<ListFields> SplitBsdFields(std::string_view line) {
  const auto [rest, escaped] = EscapeMark(line);
  static constexpr std::array<std::pair<std::string_view, THashType>, 4> kTags = {{{"SHA512", THashType::SHA512},
                                                                                   {"SHA256", THashType::SHA256},
                                                                                   {"SHA1", THashType::SHA1},
                                                                                   {"MD5", THashType::MD5}}};
  for (const auto& [tag, kind] : kTags) {
    if (rest.size() <= tag.size() + 2 || AsciiUpper(rest.substr(0, tag.size())) != tag) continue;
    if (rest.substr(tag.size(), 2) != " (") return std::nullopt;
    const std::string_view named = rest.substr(tag.size() + 2);
    const std::size_t close = named.rfind(") = ");
    if (close == std::string_view::npos) return std::nullopt;
    ListFields fields;
    fields.name = named.substr(0, close);
    fields.hash = named.substr(close + 4);
    fields.kind = kind;
    fields.escaped = escaped;
    if (fields.name.empty() || !IsDigestOf(fields.hash, kind) || !NameUnescapes(fields.name, escaped)) {
      return std::nullopt;
    }
    return fields;
  }
  return std::nullopt;
}

std::optional<ListFields> SplitSfvFields(std::string_view line) {
  while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
  const std::size_t space = line.rfind(' ');
  if (space == std::string_view::npos || line.starts_with(';')) return std::nullopt;
  const std::string_view crc = line.substr(space + 1);
  if (crc.size() != 8 || HexRun(crc) != 8) return std::nullopt;
  std::string_view name = line.substr(0, space);
  while (!name.empty() && IsBlank(name.back())) name.remove_suffix(1);
  if (name.empty()) return std::nullopt;
  ListFields fields;
  fields.name = name;
  fields.hash = crc;
  fields.kind = THashType::CRC32;
  return fields;
}

bool IsBlankLine(std::string_view line) {
  for (const char c : line) {
    if (!IsBlank(c)) return false;
  }
  return true;
}

bool IsSfvNote(std::string_view line) { return line.starts_with(';') || IsBlankLine(line); }

std::optional<std::string_view> SoleDigest(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  if (DigestKindOfLength(text.size()) == THashType::None || HexRun(text) != text.size()) return std::nullopt;
  return text;
}
