#pragma once

#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

#include "core/checksum_list.h"
#include "core/text_encoding.h"
#include "core/verification_table.h"
#include "engine/hash_file.h"
#include "engine/options.h"
#include "engine/run_observer.h"

// Bringing a verified list up to date: the files beside it that it does not name
// (FindUnlistedFiles) are hashed and added, the rows of files that are gone dropped, and every
// correct row and every malformed line kept as it stands. The list keeps its form (the program's
// table, digest-first, tagged or SFV lines), its encoding and byte-order mark, its line ends and
// the look of its rows: the case of the hashes, a binary mark, "/" or "\" in names, grouped
// sizes. A row whose file no longer matches is replaced only when the caller says so.

enum class TListUpdateFailure : std::uint8_t {
  None,
  Unreadable,   // the list file could not be read again
  ListChanged,  // the file is no longer the list that was verified
  LoneDigest,   // a lone digest names one file: there is no room for another
  Unverified,   // a row of the list has no outcome (the run was cancelled)
  Cancelled,    // hashing the new files was cancelled
};

struct TListUpdate {
  TListUpdateFailure failure = TListUpdateFailure::None;
  // Names as the list writes them.
  std::vector<std::string> added;
  std::vector<std::string> dropped;
  std::vector<std::string> changed;    // the file is there with another hash or size
  std::vector<std::string> unchecked;  // the file could not be read: its line stays
  std::vector<TLeftOutPath> leftOut;   // new files that could not be hashed, folders not listed

  // What rendering needs.
  enum class Fate : std::uint8_t { Keep, Drop, Changed };
  struct NewRow {
    std::string name, hash;
    std::uint64_t size = 0;
  };
  struct Found {
    std::string hash, bytes;
  };
  std::string listName;
  std::string text;  // the list as UTF-8
  DetectedEncoding encoding;
  std::string separator;
  std::vector<Fate> fates;   // one per listed row
  std::vector<Found> found;  // one per listed row; only a changed row's is filled
  std::vector<NewRow> newRows;
  THashType newKind = THashType::None;
};

// Plans the update of the list at listPath from the page that verified it (table: every listed
// row verified): reads the file again, finds the files it does not name and hashes them with the
// kind of the list's entries (options.workers, options.showProcess). A file that cannot be opened
// is dropped only when it is not there.
[[nodiscard]] TListUpdate PlanListUpdate(const VerificationTable& table, const std::string& listPath,
                                         const TRunOptions& options, const std::string& separator,
                                         TRunObserver& observer, const std::stop_token& cancel);

// The new list file's bytes; a changed row gets the new hash (and size) when replaceChanged, else
// keeps its line. Empty for a plan that failed. An ANSI list whose new names have no code there
// becomes UTF-8 with a byte-order mark, as the program writes such a list.
[[nodiscard]] std::string RenderListUpdate(const TListUpdate& plan, bool replaceChanged);

// The reason for a failure, for a message or a batch line.
std::u8string ListUpdateFailureText(TListUpdateFailure failure);

// "追加 : a  削除 : d  不一致 : c" of the plan.
std::u8string ListUpdateSummary(const TListUpdate& plan);
