#include "engine/verification_run.h"

#include <cstdint>
#include <optional>

#include "engine/hash_file.h"
#include "engine/hash_queue.h"

std::string EntryPath(const std::string& listFolder, const std::string& name) {
  return IsAbsoluteListName(name) ? name : listFolder + name;
}

TRunResult RunVerification(const ChecksumList& list, const std::string& listFolder, const TRunOptions& options,
                           const std::string& separator, TRunObserver& observer) {
  // Each entry is hashed with its own kind: BSD lists may mix them.
  THashQueue queue(list.size(), options.workers, [&](std::size_t i) {
    const ListFields fields = list.Fields(i);
    return THashJob{fields.kind, EntryPath(listFolder, ToListEntry(fields).name)};
  });
  TRunResult result;
  for (std::size_t i = 0; i < list.size(); ++i) {
    observer.FileStarting(i, list.size());
    observer.ProcessMessages();
    result.cancelled = CancelFlag;
    if (result.cancelled) return result;

    const ListEntry entry = ToListEntry(list.Fields(i));
    std::optional<FoundFile> found(std::in_place);
    std::int64_t size = 0;
    if (queue.Take(i, observer, options.showProcess, found->hash, size) == THashFailure::None) {
      found->size = static_cast<std::uint64_t>(size);
    } else {
      // The workers read CancelFlag between blocks: set now, it stopped the reading.
      result.cancelled = CancelFlag;
      if (result.cancelled) return result;
      found.reset();
    }
    observer.RowVerified(i, VerifyEntry(entry, found, separator));
    result.done = i + 1;
    result.cancelled = CancelFlag;
    if (result.cancelled) return result;
  }
  return result;
}
