#pragma once

#include <stop_token>
#include <string>
#include <vector>

#include "core/checksum_list.h"
#include "core/verification_table.h"
#include "engine/hash_file.h"

// The files that a verified list leaves out: those of the list's folder and of every folder below
// it that its entries' paths reach (each named file's folder and the folders on the way there)
// that no entry names, the list file itself excepted. Never a folder above the list's, on another
// drive or share, nor one reached by a name that EntryPath refuses. Names compare as Windows
// compares them (ignoring case, "/" and "." resolved). Each comes as the list would name it:
// relative to the list's folder where possible, else in full; in the locale order of their full
// paths. Stops early once cancel is requested. A folder that cannot be listed whole may hide more:
// it comes named the same way, with a trailing "\", and why.
struct TUnlistedFiles {
  std::vector<std::string> names;
  std::vector<TLeftOutPath> unreadFolders;
};
TUnlistedFiles FindUnlistedFiles(const ChecksumList& list, const std::string& listPath, const std::stop_token& cancel);

// The rows of what FindUnlistedFiles found, after the table's rows: Unlisted for each file, then
// Unreadable for each folder with its reason.
void AddUnlistedRows(VerificationTable& table, TUnlistedFiles found);
