#include "engine/creation_run.h"

#include <cstdint>

#include "core/codepage.h"
#include "core/hex.h"
#include "core/numfmt.h"
#include "core/path.h"
#include "core/relpath.h"
#include "engine/hash_file.h"
#include "engine/hash_queue.h"

std::string BaseFolderOf(const std::vector<std::string>& files) {
  if (files.empty()) return {};
  return ExcludeTrailingPathDelimiter(ExtractFilePath(files.front(), IsNeverLeadByte), IsNeverLeadByte);
}

TRunResult RunCreation(const TPageFiles& page, const std::string& baseFolder, const TRunOptions& options,
                       const std::string& separator, TRunObserver& observer) {
  const THashType kind = options.kind;
  const bool upper = options.UpperCase(kind);
  const std::string binaryMark = IsDigestKind(kind) && options.md5BinaryMode ? "*" : "";

  TRunResult result;
  for (const std::string& path : page.unnamable) {
    observer.FileLeftOut(path, THashFailure::BadName);
    ++result.leftOut;
  }
  const std::vector<std::string>& files = page.files;
  THashQueue queue(files.size(), options.workers, [&](std::size_t i) { return THashJob{kind, files[i]}; });
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < files.size(); ++i) {
    observer.FileStarting(i, files.size());
    observer.ProcessMessages();
    if (CancelFlag) {
      result.cancelled = true;
      return result;
    }
    std::string hash;
    std::int64_t size = 0;
    const THashFailure failure = queue.Take(i, observer, options.showProcess, hash, size);
    if (failure == THashFailure::None) {
      observer.RowAdded({.Name = binaryMark + RelativeName(baseFolder, files[i], IsNeverLeadByte),
                         .Hash = upper ? std::move(hash) : AsciiLower(std::move(hash)),
                         .Bytes = FormatGrouped(static_cast<std::uint64_t>(size), separator)});
      ++result.done;
      total += static_cast<std::uint64_t>(size);
    } else if (failure != THashFailure::Cancelled) {
      observer.FileLeftOut(files[i], failure);
      ++result.leftOut;
    }
    observer.SetText(TotalLine(result.done, total, separator));
  }
  observer.Settle();
  // A cancel that came while the last file was read stopped that file; it is noticed here as it
  // would be before a further file, so the page ends cancelled.
  result.cancelled = CancelFlag;
  return result;
}
