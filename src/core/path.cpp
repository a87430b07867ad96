#include "core/path.h"

#include "core/mbstep.h"

namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Position of the last character of `path` that is one of `delimiters`, stepping over
// double-byte characters from the start; kNone when there is none.
std::size_t LastDelimiter(std::string_view path, std::string_view delimiters, LeadByteTest isLead) {
  std::size_t last = kNone;
  for (std::size_t i = 0; i < path.size();) {
    const std::size_t length = CharLengthAt(path, i, isLead);
    if (length == 1 && delimiters.find(path[i]) != kNone) last = i;
    i += length;
  }
  return last;
}

// Position of the first "\" at or after `from`; the path's size when there is none.
std::size_t NextBackslash(std::string_view path, std::size_t from, LeadByteTest isLead) {
  for (std::size_t i = from; i < path.size();) {
    const std::size_t length = CharLengthAt(path, i, isLead);
    if (length == 1 && path[i] == '\\') return i;
    i += length;
  }
  return path.size();
}

}  // namespace

std::string ExtractFileDrive(std::string_view path, LeadByteTest isLead) {
  if (path.size() >= 2 && path[1] == ':' && IsAsciiLetter(path[0])) return std::string(path.substr(0, 2));
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    // The head ends before the "\" that follows the share name.
    const std::size_t server_end = NextBackslash(path, 2, isLead);
    if (server_end == path.size()) return std::string(path);
    return std::string(path.substr(0, NextBackslash(path, server_end + 1, isLead)));
  }
  return {};
}

std::string ExtractFilePath(std::string_view path, LeadByteTest isLead) {
  const std::size_t last = LastDelimiter(path, "\\:", isLead);
  return last == kNone ? std::string() : std::string(path.substr(0, last + 1));
}

std::string ExtractFileName(std::string_view path, LeadByteTest isLead) {
  const std::size_t last = LastDelimiter(path, "\\:", isLead);
  return std::string(last == kNone ? path : path.substr(last + 1));
}

bool HasTrailingPathDelimiter(std::string_view path, LeadByteTest isLead) {
  const std::size_t last = LastDelimiter(path, "\\", isLead);
  return last != kNone && last + 1 == path.size();
}

std::string ExcludeTrailingPathDelimiter(std::string_view path, LeadByteTest isLead) {
  if (HasTrailingPathDelimiter(path, isLead)) path.remove_suffix(1);
  return std::string(path);
}

std::string IncludeTrailingPathDelimiter(std::string_view path, LeadByteTest isLead) {
  std::string result(path);
  if (!HasTrailingPathDelimiter(path, isLead)) result += '\\';
  return result;
}

std::string RemoveFileExtension(std::string_view name, LeadByteTest isLead) {
  const std::size_t dot = LastDelimiter(name, ".\\:", isLead);
  if (dot == kNone || name[dot] != '.') return std::string(name);
  return std::string(name.substr(0, dot));
}
