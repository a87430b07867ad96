#include "engine/verification_run.h"

#include <cstdint>
#include <optional>

#include "engine/hash_file.h"

std::string EntryPath(const std::string& listFolder, const std::string& name) {
  return IsAbsoluteListName(name) ? name : listFolder + name;
}

TRunResult RunVerification(const ChecksumList& list, const std::string& listFolder, const TRunOptions& options,
                           const std::string& separator, TRunObserver& observer) {
  MessagePump* const blockPump = options.showProcess ? &observer : nullptr;
  TRunResult result;
  for (std::size_t i = 0; i < list.size(); ++i) {
    observer.FileStarting(i, list.size());
    observer.ProcessMessages();
    result.cancelled = CancelFlag;
    if (result.cancelled) return result;

    const ListFields fields = list.Fields(i);
    const ListEntry entry = ToListEntry(fields);
    // Each entry is hashed with its own kind: BSD lists may mix them.
    const THashType kind = fields.kind;
    std::optional<FoundFile> found(std::in_place);
    std::int64_t size = 0;
    if (HashFile(kind, EntryPath(listFolder, entry.name), found->hash, size, blockPump, &observer)) {
      found->size = static_cast<std::uint64_t>(size);
    } else {
      // HashFile reads CancelFlag only while it runs: set now, it stopped the reading.
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
