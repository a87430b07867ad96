#pragma once

#include <stop_token>
#include <string>
#include <vector>

#include "core/checksum_list.h"
#include "engine/options.h"
#include "engine/run_observer.h"

// The file an entry names: the name itself when it is absolute (another drive, the list's own
// network share), else the name below the list's folder (with its trailing "\"). Empty, which
// names nothing, when win::CheckListName refuses the name.
std::string EntryPath(const std::string& listFolder, const std::string& name);

// One verification page's work: hashes the file of every entry with its kind and reports each
// outcome; a malformed line is reported as such and opens nothing, and a name that CheckListName
// refuses is never opened; its row says why. Before every entry messages run
// and cancel is read; with options.showProcess also after every block. A cancel that stops a file's reading leaves
// that entry unverified (done counts the entries before it); one that comes after a file was read to its end keeps that
// entry's outcome and ends the run after it.
TRunResult RunVerification(const ChecksumList& list, const std::string& listFolder, const TRunOptions& options,
                           const std::string& separator, TRunObserver& observer, const std::stop_token& cancel);
