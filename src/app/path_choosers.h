#pragma once

#include <string>
#include <vector>

#include "engine/options.h"

// The system's dialogs that choose a job's paths instead of a drop. Each gives the paths as a
// drop does (full, UTF-8), or none when the user cancels.

// Checksum lists, several at once; the filter names the kinds the reader takes and the
// extensions the options save lists with.
[[nodiscard]] std::vector<std::string> ChooseLists(const TRunOptions& options);
// Files to make a list of, several at once.
[[nodiscard]] std::vector<std::string> ChooseFiles();
// One folder to make lists of.
[[nodiscard]] std::vector<std::string> ChooseFolder();
