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

// An entry of 128 digits that did not match as SHA-512 and that the list's name did not decide
// is tried as BLAKE2b-512, here on the user-interface thread with its messages running: a good
// file of a b2sum list under another name is never reported broken.
bool MatchesAsBlake2b(const ListEntry& entry, const std::string& path, const TRunOptions& options,
                      const std::string& separator, TRunObserver& observer, TVerification& verification,
                      const std::stop_token& cancel) {
  std::optional<FoundFile> found(std::in_place);
  std::int64_t size = 0;
  if (HashFileChecked(THashType::BLAKE2b, path, found->hash, size, &observer, options.showProcess ? &observer : nullptr,
                      0, cancel) != THashFailure::None) {
    return false;
  }
  found->size = static_cast<std::uint64_t>(size);
  TVerification blake2b = VerifyEntry(entry, found, separator);
  if (blake2b.result != TVerifyResult::Correct) return false;
  blake2b.matchedBlake2b = true;
  verification = std::move(blake2b);
  return true;
}

}  // namespace

std::string EntryPath(const std::string& listFolder, const std::string& name) {
  if (win::CheckListName(listFolder, name) != win::ListNameReach::Allowed) return {};
  return IsAbsoluteListName(name) ? name : listFolder + name;
}

TRunResult RunVerification(const ChecksumList& list, const std::string& listFolder, const TRunOptions& options,
                           const std::string& separator, TRunObserver& observer, const std::stop_token& cancel) {
  // Each entry is hashed with its own kind: a list may mix them. A malformed line has no kind,
  // and a job of no kind opens nothing.
  THashQueue queue(
      list.size(), options.workers,
      [&](std::size_t i) {
        const ListFields fields = list.Fields(i);
        if (fields.kind == THashType::None) return THashJob{};
        // BLAKE2b's length is the entry's own.
        const std::size_t digestBytes = fields.kind == THashType::BLAKE2b ? fields.hash.size() / 2 : 0;
        return THashJob{fields.kind, EntryPath(listFolder, ToListEntry(fields).name), digestBytes};
      },
      cancel);
  TRunResult result;
  for (std::size_t i = 0; i < list.size(); ++i) {
    observer.FileStarting(i, list.size());
    observer.ProcessMessages();
    result.cancelled = cancel.stop_requested();
    if (result.cancelled) return result;

    const ListFields fields = list.Fields(i);
    const ListEntry entry = ToListEntry(fields);
    std::optional<FoundFile> found(std::in_place);
    std::int64_t size = 0;
    const THashFailure failure = queue.Take(i, observer, options.showProcess, found->hash, size);
    TVerification verification;
    if (list.IsMalformed(i)) {
      verification.result = TVerifyResult::Malformed;
    } else {
      if (failure == THashFailure::None) {
        found->size = static_cast<std::uint64_t>(size);
      } else {
        // The workers read the cancel between blocks: requested now, it stopped the reading.
        result.cancelled = cancel.stop_requested();
        if (result.cancelled) return result;
        found.reset();
      }
      verification = JudgeEntry(listFolder, entry, found, separator);
      if (verification.result == TVerifyResult::HashMismatch && fields.orBlake2b) {
        const std::string path = EntryPath(listFolder, entry.name);
        if (!MatchesAsBlake2b(entry, path, options, separator, observer, verification, cancel) &&
            cancel.stop_requested()) {
          result.cancelled = true;
          return result;
        }
      }
    }
    observer.RowVerified(i, verification);
    result.done = i + 1;
    result.cancelled = cancel.stop_requested();
    if (result.cancelled) return result;
  }
  return result;
}
