#include "engine/creation_run.h"

#include <cstdint>

#include "core/hex.h"
#include "core/numfmt.h"
#include "core/path.h"
#include "core/relpath.h"
#include "engine/hash_file.h"
#include "win/user_locale.h"

std::string BaseFolderOf(const std::vector<std::string>& files) {
  if (files.empty()) return {};
  return ExcludeTrailingPathDelimiter(ExtractFilePath(files.front(), win::IsAnsiLeadByte), win::IsAnsiLeadByte);
}

TRunResult RunCreation(const std::vector<std::string>& files, const std::string& baseFolder, const TRunOptions& options,
                       const std::string& separator, TRunObserver& observer) {
  const THashType kind = options.kind;
  const bool upper = options.UpperCase(kind);
  const std::string binaryMark = kind == THashType::MD5 && options.md5BinaryMode ? "*" : "";
  MessagePump* const blockPump = options.showProcess ? &observer : nullptr;

  TRunResult result;
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
    if (HashFile(kind, files[i], hash, size, blockPump, &observer)) {
      observer.RowAdded({.Name = binaryMark + RelativeName(baseFolder, files[i], win::IsAnsiLeadByte),
                         .Hash = upper ? std::move(hash) : AsciiLower(std::move(hash)),
                         .Bytes = FormatGrouped(static_cast<std::uint64_t>(size), separator)});
      ++result.done;
      total += static_cast<std::uint64_t>(size);
    }
    observer.SetText(TotalLine(result.done, total, separator));
  }
  observer.Settle();
  // A cancel that came while the last file was read stopped that file; it is noticed here as it
  // would be before a further file, so the page ends cancelled.
  result.cancelled = CancelFlag;
  return result;
}
