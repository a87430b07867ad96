#include "engine/verification_run.h"

#include <cstdint>
#include <optional>

#include "engine/hash_file.h"
#include "engine/hash_queue.h"
#include "win/list_names.h"

namespace {

// A name the list may not make the program open gets its reason instead of a verdict.
TVerification JudgeEntry(const std::string& listFolder, const ListEntry& entry, const std::optional<FoundFile>& found,
                         const std::string& separator) {
  TVerification refused;
  switch (win::CheckListName(listFolder, entry.name)) {
    case win::ListNameReach::Allowed: return VerifyEntry(entry, found, separator);
    case win::ListNameReach::Network: refused.result = TVerifyResult::NetworkRefused; break;
    case win::ListNameReach::BadName: refused.result = TVerifyResult::BadName; break;
  }
  return refused;
}

}  // namespace

std::string EntryPath(const std::string& listFolder, const std::string& name) {
  if (win::CheckListName(listFolder, name) != win::ListNameReach::Allowed) return {};
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
    observer.RowVerified(i, JudgeEntry(listFolder, entry, found, separator));
    result.done = i + 1;
    result.cancelled = CancelFlag;
    if (result.cancelled) return result;
  }
  return result;
}
