#include "core/file_name_rules.h"

#include <array>
#include <string>

#include "core/hex.h"
#include "core/utf8.h"

namespace {

std::string_view WithoutPrefix(std::string_view path) {
  for (const std::string_view prefix : {"\\\\?\\UNC\\", "\\\\?\\", "\\\\.\\"}) {
    if (path.starts_with(prefix)) return path.substr(prefix.size());
  }
  return path;
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsForbidden(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 32 || std::string_view("<>\"|?*").find(c) != std::string_view::npos;
}

}  // namespace

bool IsUsablePath(std::string_view path) {
  path = WithoutPrefix(path);
  if (path.empty()) return false;
  if (!IsValidUtf8(path)) return false;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsForbidden(path[i])) return false;
    if (path[i] == ':' && !(i == 1 && IsLetter(path[0]))) return false;
  }
  return true;
}

bool NamesReservedDevice(std::string_view path) {
  const std::size_t delimiter = path.find_last_of("\\/:");
  std::string_view name = delimiter == std::string_view::npos ? path : path.substr(delimiter + 1);
  name = name.substr(0, name.find('.'));
  while (name.ends_with(' ')) name.remove_suffix(1);
  const std::string upper = AsciiUpper(name);
  static constexpr std::array<std::string_view, 6> kWords = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const std::string_view word : kWords) {
    if (upper == word) return true;
  }
  if (!upper.starts_with("COM") && !upper.starts_with("LPT")) return false;
  const std::string_view number = std::string_view(upper).substr(3);
  if (number.size() == 1) return number[0] >= '0' && number[0] <= '9';
  // The superscript digits one, two and three count as well.
  return number == "\u00B9" || number == "\u00B2" || number == "\u00B3";
}
