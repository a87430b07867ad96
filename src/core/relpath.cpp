#include "core/relpath.h"

#include <vector>

#include "core/mbstep.h"
#include "core/path.h"

namespace {

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The folders of a path after its drive, and in `name` what follows the last "\":
// "\a\b\c.txt" gives "", "a", "b" and c.txt.
std::vector<std::string_view> SplitFolders(std::string_view folders, LeadByteTest isLead, std::string_view& name) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i < folders.size();) {
    const std::size_t length = CharLengthAt(folders, i, isLead);
    if (length == 1 && folders[i] == '\\') {
      parts.push_back(folders.substr(start, i - start));
      start = i + 1;
    }
    i += length;
  }
  name = folders.substr(start);
  return parts;
}

}  // namespace

bool SameTextIgnoringAsciiCase(std::string_view a, std::string_view b, LeadByteTest isLead) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size();) {
    const std::size_t length = CharLengthAt(a, i, isLead);
    if (length == 2) {
      if (a.substr(i, 2) != b.substr(i, 2)) return false;
    } else if (AsciiUpper(a[i]) != AsciiUpper(b[i])) {
      return false;
    }
    i += length;
  }
  return true;
}

std::string RelativeName(std::string_view baseFolder, std::string_view path, LeadByteTest isLead) {
  const std::string base = IncludeTrailingPathDelimiter(baseFolder, isLead);
  const std::string baseDrive = ExtractFileDrive(base, isLead);
  const std::string pathDrive = ExtractFileDrive(path, isLead);
  if (!SameTextIgnoringAsciiCase(baseDrive, pathDrive, isLead)) return std::string(path);

  std::string_view baseRest;  // empty: the base ends in "\"
  std::string_view fileName;
  const std::vector<std::string_view> baseParts =
      SplitFolders(std::string_view(base).substr(baseDrive.size()), isLead, baseRest);
  const std::vector<std::string_view> pathParts = SplitFolders(path.substr(pathDrive.size()), isLead, fileName);

  std::size_t common = 0;
  while (common < baseParts.size() && common < pathParts.size() &&
         SameTextIgnoringAsciiCase(baseParts[common], pathParts[common], isLead)) {
    ++common;
  }
  std::string name;
  for (std::size_t i = common; i < baseParts.size(); ++i) name += "..\\";
  for (std::size_t i = common; i < pathParts.size(); ++i) {
    name += pathParts[i];
    name += '\\';
  }
  name += fileName;
  return name;
}
