#pragma once

#include <string>
#include <vector>

#include "core/checksum_list.h"

// The files that a verified list leaves out: those of the list's folder and of every folder below
// it that its entries' paths reach (each named file's folder and the folders on the way there)
// that no entry names, the list file itself excepted. Never a folder above the list's, on another
// drive or share, nor one reached by a name that EntryPath refuses. Names compare as Windows
// compares them (ignoring case, "/" and "." resolved). Each comes as the list would name it:
// relative to the list's folder where possible, else in full; in the locale order of their full
// paths. Stops early when CancelFlag is set.
std::vector<std::string> FindUnlistedFiles(const ChecksumList& list, const std::string& listPath);
