#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/checksum_list.h"
#include "engine/hash_file.h"

// A file that is no list, with the entry of a list beside it that names it: a download verified
// against the digest published with it.
struct TSiblingEntry {
  std::string listPath;
  ChecksumList entry;  // the list with that one row
};

// The first list in the file's folder that names the file, looked for in this order: FILE.EXT for
// the extensions of lists (setup.zip.sha256, setup.zip.md5, setup.zip.sfv …), then the SUMS files
// (SHA256SUMS, MD5SUMS, B2SUMS …, also with ".txt"), then the folder's other files with the
// extension of a list. A name that the list may not make the program open (win::CheckListName)
// names nothing. Every candidate is read until one names the file; when none does, the lists
// that could not be read (and the folder, when it could not be listed) come with their reason,
// for one of them may have named it.
struct TSiblingSearch {
  std::optional<TSiblingEntry> found;
  std::vector<TLeftOutPath> unread;
};
TSiblingSearch FindSiblingList(const std::string& file);
