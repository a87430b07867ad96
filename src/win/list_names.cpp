#include "win/list_names.h"

#include <algorithm>
#include <string>

#include "core/file_name_rules.h"
#include "core/hex.h"
#include "win/file_path.h"

namespace win {
namespace {

// Windows takes "/" for "\" in every prefix ("//?/", "//./", "//server/share").
std::string Backslashed(std::string_view path) {
  std::string text(path);
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

bool StartsWithNamespace(std::string_view path) {
  return path.starts_with("\\\\?\\") || path.starts_with("\\\\.\\") || path.starts_with("\\??\\");
}

bool IsExtendedUnc(std::string_view path) {
  return path.starts_with("\\\\?\\") && AsciiUpper(path.substr(4, 4)) == "UNC\\";
}

// "\\SERVER\SHARE" of a UNC path, as Windows compares it; empty for any other path.
std::wstring ShareKey(std::string_view path) {
  std::string text = Backslashed(path);
  if (IsExtendedUnc(text)) text = "\\\\" + text.substr(8);
  if (!text.starts_with("\\\\") || StartsWithNamespace(text)) return {};
  const std::size_t server = text.find('\\', 2);
  if (server == std::string::npos || server == 2) return {};
  return PathKey(text.substr(0, text.find('\\', server + 1)));
}

}  // namespace

ListNameReach CheckListName(std::string_view listFolder, std::string_view name) {
  // Only a name that begins with a "\" or "/" can be of another namespace or computer.
  if (name.starts_with('\\') || name.starts_with('/')) {
    const std::string slashed = Backslashed(name);
    if (IsExtendedUnc(slashed)) return ListNameReach::Network;
    if (StartsWithNamespace(slashed)) return ListNameReach::BadName;
    if (slashed.starts_with("\\\\")) {
      // Resolved first: ".." never leaves a share, but "\\server\..\other" names another one.
      const std::wstring share = ShareKey(AbsolutePath(slashed));
      if (share.empty() || share != ShareKey(listFolder)) return ListNameReach::Network;
    }
  }
  if (!IsUsablePath(name) || NamesReservedDevice(name)) return ListNameReach::BadName;
  return ListNameReach::Allowed;
}

}  // namespace win
