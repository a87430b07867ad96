#include "win/long_name.h"

#include "core/codepage.h"
#include "core/path.h"
#include "win/file_path.h"
#include "win/handle.h"
#include "win/unicode.h"

namespace win {
namespace {

// The path without its trailing "\", unless that would leave only the drive: "C:\" keeps it.
std::string WithoutTrailingDelimiterBeyondDrive(const std::string& path) {
  std::string trimmed = ExcludeTrailingPathDelimiter(path, IsNeverLeadByte);
  if (trimmed == ExtractFileDrive(path, IsNeverLeadByte)) return path;
  return trimmed;
}

}  // namespace

std::string LongFileName(const std::string& path) {
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return path;

  const std::string trimmed = WithoutTrailingDelimiterBeyondDrive(path);
  const std::string name = ExtractFileName(trimmed, IsNeverLeadByte);
  std::string result = WithoutTrailingDelimiterBeyondDrive(ExtractFilePath(trimmed, IsNeverLeadByte));
  if (name.empty()) return result;

  // Every form of the folder part ends so that the name joins directly: a root or a found or
  // unfound folder in "\", an empty or drive-relative part ("C:") as it is.
  result = LongFileName(result);
  WIN32_FIND_DATAW entry;
  const FindHandle find(FindFirstFileW(FileSystemPath(result + name).c_str(), &entry));
  if (!find) return result + name + "\\";
  result += Utf8FromWide(entry.cFileName);
  if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) result += '\\';
  return result;
}

void ExpandLongNames(std::vector<std::string>& list) {
  for (std::string& line : list) line = LongFileName(line);
}

}  // namespace win
