#include "core/list_forms.h"

#include <array>
#include <charconv>

#include "core/hex.h"

namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsTagChar(char c) { return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '-'; }

// The length of the run of hex digits the text begins with.
std::size_t HexRun(std::string_view text) {
  std::size_t n = 0;
  while (n < text.size() && IsHexDigit(text[n])) ++n;
  return n;
}

// The length of the run of hex digits the text ends with.
std::size_t TrailingHexRun(std::string_view text) {
  std::size_t n = 0;
  while (n < text.size() && IsHexDigit(text[text.size() - 1 - n])) ++n;
  return n;
}

// Undoes a leading "\" when there is one: the rest of the line and whether its name is escaped.
std::pair<std::string_view, bool> EscapeMark(std::string_view line) {
  if (line.starts_with('\\')) return {line.substr(1), true};
  return {line, false};
}

bool NameUnescapes(std::string_view name, bool escaped) { return !escaped || UnescapeName(name).has_value(); }

// BLAKE2b's digests are whole bytes, at most 64 of them.
bool IsBlake2bLength(std::size_t digits) { return digits >= 2 && digits <= 128 && digits % 2 == 0; }

// The kind a tag names when the digest has that kind's length; None otherwise.
THashType TagKind(std::string_view tag, std::size_t digits) {
  const std::string upper = AsciiUpper(tag);
  static constexpr std::array<std::pair<std::string_view, THashType>, 18> kFixed = {{
      {"MD5", THashType::MD5},
      {"SHA1", THashType::SHA1},
      {"SHA-1", THashType::SHA1},
      {"SHA224", THashType::SHA224},
      {"SHA2-224", THashType::SHA224},
      {"SHA-224", THashType::SHA224},
      {"SHA256", THashType::SHA256},
      {"SHA2-256", THashType::SHA256},
      {"SHA-256", THashType::SHA256},
      {"SHA384", THashType::SHA384},
      {"SHA2-384", THashType::SHA384},
      {"SHA-384", THashType::SHA384},
      {"SHA512", THashType::SHA512},
      {"SHA2-512", THashType::SHA512},
      {"SHA-512", THashType::SHA512},
      {"BLAKE2B512", THashType::BLAKE2b},
      {"BLAKE3", THashType::BLAKE3},
      {"CRC32", THashType::CRC32},
  }};
  for (const auto& [name, kind] : kFixed) {
    if (upper != name) continue;
    const std::size_t expected = kind == THashType::BLAKE2b ? 128 : static_cast<std::size_t>(HashTextLength(kind));
    return digits == expected ? kind : THashType::None;
  }
  // "BLAKE2b" alone has any length; "BLAKE2b-N" N bits.
  if (upper == "BLAKE2B") return IsBlake2bLength(digits) ? THashType::BLAKE2b : THashType::None;
  if (upper.starts_with("BLAKE2B-")) {
    const std::string_view bits = std::string_view(upper).substr(8);
    std::size_t n = 0;
    const auto [end, error] = std::from_chars(bits.data(), bits.data() + bits.size(), n);
    if (error != std::errc() || end != bits.data() + bits.size() || n % 8 != 0) return THashType::None;
    return IsBlake2bLength(digits) && digits * 4 == n ? THashType::BLAKE2b : THashType::None;
  }
  return THashType::None;
}

bool EndsWithNoCase(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && AsciiLower(std::string(text.substr(text.size() - end.size()))) == end;
}

}  // namespace

THashType DigestFirstKind(std::size_t digits, const DigestLineRules& rules) {
  if (rules.blake2b) return IsBlake2bLength(digits) ? THashType::BLAKE2b : THashType::None;
  if (rules.blake3) return digits == 64 ? THashType::BLAKE3 : THashType::None;
  return digits == 8 ? THashType::CRC32 : DigestKindOfLength(digits);
}

DigestLineRules DigestRulesOfListName(std::string_view listFileName) {
  DigestLineRules rules;
  const std::string name = AsciiLower(std::string(listFileName));
  rules.blake2b = name == "b2sums" || EndsWithNoCase(name, ".b2") || EndsWithNoCase(name, ".blake2b");
  rules.sha512 = name == "sha512sums" || EndsWithNoCase(name, ".sha512");
  rules.blake3 = name == "b3sums" || EndsWithNoCase(name, ".b3") || EndsWithNoCase(name, ".blake3");
  return rules;
}

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

std::optional<ListFields> SplitDigestFirstFields(std::string_view line, const DigestLineRules& rules) {
  const auto [rest, escaped] = EscapeMark(line);
  const std::size_t digits = HexRun(rest);
  const THashType kind = DigestFirstKind(digits, rules);
  if (kind == THashType::None || rest.size() <= digits || rest[digits] != ' ') return std::nullopt;
  std::string_view name = rest.substr(digits + 1);
  if (name.starts_with('*') || name.starts_with(' ')) name.remove_prefix(1);
  if (!NameUnescapes(name, escaped)) return std::nullopt;
  ListFields fields;
  fields.hash = rest.substr(0, digits);
  fields.name = name;
  fields.kind = kind;
  fields.escaped = escaped;
  fields.orBlake2b = digits == 128 && !rules.blake2b && !rules.sha512;
  return fields;
}

std::optional<ListFields> SplitTaggedFields(std::string_view line) {
  const auto [rest, escaped] = EscapeMark(line);
  if (rest.empty() || !IsAsciiLetter(rest.front())) return std::nullopt;
  std::size_t open = 0;
  while (open < rest.size() && IsTagChar(rest[open])) ++open;
  const std::string_view tag = rest.substr(0, open);
  while (open < rest.size() && rest[open] == ' ') ++open;
  if (open == rest.size() || rest[open] != '(') return std::nullopt;

  // From the end: the digest, "=", ")"; blanks around the "=" as each tool writes them.
  const std::string_view tail = TrimBlanksEnd(rest.substr(open + 1));
  const std::size_t digits = TrailingHexRun(tail);
  std::size_t at = tail.size() - digits;
  if (digits == 0) return std::nullopt;
  while (at > 0 && tail[at - 1] == ' ') --at;
  if (at == 0 || tail[at - 1] != '=') return std::nullopt;
  --at;
  while (at > 0 && tail[at - 1] == ' ') --at;
  if (at == 0 || tail[at - 1] != ')') return std::nullopt;

  ListFields fields;
  fields.name = tail.substr(0, at - 1);
  fields.hash = tail.substr(tail.size() - digits);
  fields.escaped = escaped;
  const bool named = !fields.name.empty() && NameUnescapes(fields.name, escaped);
  fields.kind = named ? TagKind(tag, digits) : THashType::None;
  return fields;
}

std::optional<ListFields> SplitSfvFields(std::string_view line) {
  line = TrimBlanksEnd(line);
  const std::size_t space = line.rfind(' ');
  if (space == std::string_view::npos || line.starts_with(';')) return std::nullopt;
  const std::string_view crc = line.substr(space + 1);
  if (crc.size() != 8 || HexRun(crc) != 8) return std::nullopt;
  const std::string_view name = TrimBlanksEnd(line.substr(0, space));
  if (name.empty()) return std::nullopt;
  ListFields fields;
  fields.name = name;
  fields.hash = crc;
  fields.kind = THashType::CRC32;
  return fields;
}

bool IsBlankLine(std::string_view line) { return TrimBlanksEnd(line).empty(); }

bool IsCommentLine(std::string_view line) { return line.starts_with('#') || line.starts_with(';'); }

std::optional<std::string_view> SoleDigest(std::string_view text, std::string_view listFileName) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  text = TrimBlanksEnd(text);
  if (text.empty() || HexRun(text) != text.size()) return std::nullopt;
  const DigestLineRules rules = DigestRulesOfListName(listFileName);
  if (text.size() == 8 && !rules.blake2b) {
    const bool crcName = EndsWithNoCase(listFileName, ".crc32") || EndsWithNoCase(listFileName, ".crc") ||
                         EndsWithNoCase(listFileName, ".sfv");
    if (!crcName) return std::nullopt;
  }
  if (DigestFirstKind(text.size(), rules) == THashType::None) return std::nullopt;
  return text;
}
