#pragma once

#include <optional>
#include <string>

#include "core/checksum_list.h"

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
// names nothing. nullopt when no list names the file.
std::optional<TSiblingEntry> FindSiblingList(const std::string& file);
