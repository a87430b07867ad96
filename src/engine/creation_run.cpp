#include "engine/creation_run.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>

#include "core/codepage.h"
#include "core/hex.h"
#include "core/numfmt.h"
#include "core/path.h"
#include "core/relpath.h"
#include "engine/hash_file.h"
#include "engine/hash_queue.h"
#include "engine/list_document.h"
#include "win/file_path.h"

namespace {

// The index of the file that names target as Windows finds files (case aside).
std::optional<std::size_t> IndexOfPath(std::span<const std::string> files, const std::string& target) {
  const std::wstring key = win::PathKey(target);
  for (std::size_t i = 0; i < files.size(); ++i) {
    // The paths of one folder share their spelling up to the name; a length apart is no match,
    // which spares a key for every file of a large page.
    if (files[i].size() == target.size() && win::PathKey(files[i]) == key) return i;
  }
  return std::nullopt;
}

// The page's own list: the files that saving the page would write over (AutoSavePathOf of the
// files that are left), ascending, at most two. Hashed, the old list's digest would go into the
// new list, a row that fails as soon as the new list replaces it.
std::vector<std::size_t> OwnListIndexes(const std::vector<std::string>& files, const std::string& baseFolder,
                                        const TRunOptions& options) {
  std::vector<std::size_t> own;
  if (files.size() >= 2) {
    if (const auto index = IndexOfPath(files, AutoSavePathOf(files, baseFolder, options))) own.push_back(*index);
  }
  // One file left is saved under its own name: a lone list of the kind's extension is its target.
  if (files.size() - own.size() == 1) {
    const std::size_t only = own.empty() ? 0 : 1 - own.front();
    const std::span<const std::string> alone(&files[only], 1);
    if (IndexOfPath(alone, AutoSavePathOf(alone, baseFolder, options))) own.push_back(only);
  }
  std::sort(own.begin(), own.end());
  return own;
}

}  // namespace

std::string BaseFolderOf(const std::vector<std::string>& files) {
  if (files.empty()) return {};
  return ExcludeTrailingPathDelimiter(ExtractFilePath(files.front(), IsNeverLeadByte), IsNeverLeadByte);
}

std::string BaseFolderOf(const TPageFiles& page) {
  if (!page.files.empty()) return BaseFolderOf(page.files);
  if (!page.unnamable.empty()) return BaseFolderOf(page.unnamable);
  if (page.unlistedFolders.empty()) return {};
  return ExcludeTrailingPathDelimiter(page.unlistedFolders.front().path, IsNeverLeadByte);
}

TRunResult RunCreation(const TPageFiles& page, const std::string& baseFolder, const TRunOptions& options,
                       const std::string& separator, TRunObserver& observer, const std::stop_token& cancel) {
  const THashType kind = options.kind;
  const bool upper = options.UpperCase(kind);
  const std::string binaryMark = options.BinaryMark(kind) ? "*" : "";

  TRunResult result;
  for (const TLeftOutPath& folder : page.unlistedFolders) {
    observer.FileLeftOut(folder.path, folder.reason);
    ++result.leftOut;
  }
  for (const std::string& path : page.unnamable) {
    observer.FileLeftOut(path, THashFailure::BadName);
    ++result.leftOut;
  }
  const std::vector<std::size_t> own = OwnListIndexes(page.files, baseFolder, options);
  // The i-th file that is hashed, past the page's own list.
  const auto fileAt = [&](std::size_t i) -> const std::string& {
    for (const std::size_t skipped : own) i += skipped <= i ? 1 : 0;
    return page.files[i];
  };
  const std::size_t count = page.files.size() - own.size();
  THashQueue queue(
      count, options.workers,
      [&](std::size_t i) {
        return THashJob{kind, fileAt(i)};
      },
      cancel);
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string& file = fileAt(i);
    observer.FileStarting(i, count);
    observer.ProcessMessages();
    if (cancel.stop_requested()) {
      result.cancelled = true;
      return result;
    }
    std::string hash;
    std::int64_t size = 0;
    const THashFailure failure = queue.Take(i, observer, options.showProcess, hash, size);
    if (failure == THashFailure::None) {
      observer.RowAdded({.Name = binaryMark + RelativeName(baseFolder, file, IsNeverLeadByte),
                         .Hash = upper ? std::move(hash) : AsciiLower(std::move(hash)),
                         .Bytes = FormatGrouped(static_cast<std::uint64_t>(size), separator)});
      ++result.done;
      total += static_cast<std::uint64_t>(size);
    } else if (failure != THashFailure::Cancelled) {
      observer.FileLeftOut(file, failure);
      ++result.leftOut;
    }
    observer.SetText(TotalLine(result.done, total, separator));
  }
  observer.Settle();
  // A cancel that came while the last file was read stopped that file; it is noticed here as it
  // would be before a further file, so the page ends cancelled.
  result.cancelled = cancel.stop_requested();
  return result;
}
