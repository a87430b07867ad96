#include "core/pasted_digest.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

#include "core/hex.h"

namespace {

constexpr std::size_t kLookedAt = 64 * 1024;

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// What ends a word besides blanks: the punctuation that labels and names put around a digest.
bool IsSeparator(char c) {
  return IsBlank(c) || c == ':' || c == ';' || c == ',' || c == '(' || c == ')' || c == '[' || c == ']' || c == '{' ||
         c == '}' || c == '<' || c == '>' || c == '"' || c == '\'' || c == '|' || c == '*';
}

bool AllHex(std::string_view word) { return !word.empty() && std::all_of(word.begin(), word.end(), IsHexDigit); }

// A word as hex: without "=" before it (" = digest" written without blanks), without "0x", and
// without the full stop of a sentence that ends with it.
std::string_view HexDigits(std::string_view word) {
  while (!word.empty() && word.front() == '=') word.remove_prefix(1);
  while (!word.empty() && word.back() == '.') word.remove_suffix(1);
  if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) word.remove_prefix(2);
  return word;
}

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+' || c == '-') return 62;  // "-" and "_": the URL-safe alphabet
  if (c == '/' || c == '_') return 63;
  return -1;
}

// The bytes of a word in base64 when it is exactly the length of digestBytes bytes.
std::optional<std::string> Base64Digest(std::string_view word, std::size_t digestBytes) {
  while (!word.empty() && word.front() == '=') word.remove_prefix(1);
  std::size_t padding = 0;
  while (padding < word.size() && word[word.size() - 1 - padding] == '=') ++padding;
  const std::string_view digits = word.substr(0, word.size() - padding);
  const std::size_t unpadded = (digestBytes * 8 + 5) / 6;
  const std::size_t padded = (digestBytes + 2) / 3 * 4;
  if (digits.size() != unpadded || (padding != 0 && digits.size() + padding != padded) || padding > 2) {
    return std::nullopt;
  }
  std::string bytes;
  std::uint32_t bits = 0;
  int count = 0;
  for (const char c : digits) {
    const int value = Base64Value(c);
    if (value < 0) return std::nullopt;
    bits = (bits << 6) | static_cast<std::uint32_t>(value);
    count += 6;
    if (count >= 8) {
      count -= 8;
      bytes.push_back(static_cast<char>((bits >> count) & 0xFF));
    }
  }
  // Bits left over must be zero: otherwise the text was never a digest of this length.
  if ((bits & ((1u << count) - 1)) != 0) return std::nullopt;
  return HexUpperBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::string Upper(std::string_view hex) {
  std::string upper(hex);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

}  // namespace

std::vector<std::string> DigestsInText(std::string_view text, std::size_t digestBytes) {
  std::vector<std::string> found;
  if (digestBytes == 0) return found;
  const auto add = [&found](std::string digest) {
    if (std::find(found.begin(), found.end(), digest) == found.end()) found.push_back(std::move(digest));
  };
  text = text.substr(0, kLookedAt);
  std::vector<std::string_view> words;
  for (std::size_t at = 0; at < text.size();) {
    while (at < text.size() && IsSeparator(text[at])) ++at;
    const std::size_t start = at;
    while (at < text.size() && !IsSeparator(text[at])) ++at;
    if (at > start) words.push_back(text.substr(start, at - start));
  }
  const std::size_t hexLength = digestBytes * 2;
  // Hex words in a row may be one digest written in groups, after a word that only looks like hex
  // ("dead", "face"): every run of them that has the length is one.
  for (std::size_t first = 0; first < words.size(); ++first) {
    if (!AllHex(HexDigits(words[first]))) {
      std::optional<std::string> digest = Base64Digest(words[first], digestBytes);
      // A subresource hash: "sha256-" before the base64.
      const std::size_t dash = words[first].find('-');
      if (!digest && dash != std::string_view::npos) digest = Base64Digest(words[first].substr(dash + 1), digestBytes);
      if (digest) add(std::move(*digest));
      continue;
    }
    std::string joined;
    for (std::size_t i = first; i < words.size() && joined.size() < hexLength; ++i) {
      const std::string_view digits = HexDigits(words[i]);
      if (!AllHex(digits)) break;
      joined += digits;
    }
    if (joined.size() == hexLength) add(Upper(joined));
  }
  return found;
}
