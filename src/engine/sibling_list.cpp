#include "engine/sibling_list.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

#include "core/codepage.h"
#include "core/hex.h"
#include "core/path.h"
#include "engine/list_file.h"
#include "engine/verification_run.h"
#include "win/file_path.h"
#include "win/folder.h"

namespace {

// The extensions under which lists are published beside a download, upper case.
constexpr std::array<std::string_view, 13> kListExtensions{"SHA256", "SHA512", "SHA1", "MD5",     "SFV", "CRC", "CRC32",
                                                           "SHA224", "SHA384", "B2",   "BLAKE2B", "B3",  "SUM"};
bool HasListExtension(std::string_view upperName) {
  const std::size_t dot = upperName.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view extension = upperName.substr(dot + 1);
  return std::find(kListExtensions.begin(), kListExtensions.end(), extension) != kListExtensions.end();
}

bool IsSumsName(std::string_view upperName) {
  if (upperName.ends_with(".TXT")) upperName.remove_suffix(4);
  return upperName.ends_with("SUMS");
}

// How likely a file of the folder is a list published for fileName: 0 for FILE.EXT, 1 for a SUMS
// file, 2 for another list's extension, 3 for none.
int Rank(const std::string& upperName, const std::string& upperFileName) {
  if (upperName.size() > upperFileName.size() + 1 && upperName.starts_with(upperFileName) &&
      upperName[upperFileName.size()] == '.' && HasListExtension(upperName)) {
    return 0;
  }
  if (IsSumsName(upperName)) return 1;
  return HasListExtension(upperName) ? 2 : 3;
}

// The row of the list that names the file, if any.
std::optional<std::size_t> RowNaming(const ChecksumList& list, const std::string& listFolder,
                                     const std::wstring& fileKey) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list.IsMalformed(i)) continue;
    const std::string path = EntryPath(listFolder, list.Entry(i).name);
    if (!path.empty() && win::PathKey(path) == fileKey) return i;
  }
  return std::nullopt;
}

}  // namespace

TSiblingSearch FindSiblingList(const std::string& file) {
  TSiblingSearch search;
  const std::string folder = ExtractFilePath(file, IsNeverLeadByte);
  if (folder.empty()) return search;
  const std::string upperFileName = AsciiUpper(ExtractFileName(file, IsNeverLeadByte));
  const std::wstring fileKey = win::PathKey(file);

  struct Candidate {
    int rank;
    std::string path;
  };
  std::vector<Candidate> candidates;
  const win::FolderListing listing = win::ListFolder(folder, false);
  if (listing.error != 0) search.unread.push_back({folder, FailureOfError(listing.error)});
  for (const std::string& path : listing.files) {
    if (win::PathKey(path) == fileKey) continue;
    const int rank = Rank(AsciiUpper(ExtractFileName(path, IsNeverLeadByte)), upperFileName);
    if (rank < 3) candidates.push_back({rank, path});
  }
  std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
    return a.rank != b.rank ? a.rank < b.rank : a.path < b.path;
  });
  for (const Candidate& candidate : candidates) {
    TListRead read = ReadChecksumList(candidate.path);
    if (read.failure != THashFailure::None) {
      search.unread.push_back({candidate.path, read.failure});
      continue;
    }
    if (read.list.Kind() == THashType::None) continue;
    const std::string listFolder = ExtractFilePath(candidate.path, IsNeverLeadByte);
    if (const std::optional<std::size_t> row = RowNaming(read.list, listFolder, fileKey)) {
      search.found = TSiblingEntry{candidate.path, read.list.OnlyRow(*row)};
      search.unread.clear();
      return search;
    }
  }
  return search;
}
