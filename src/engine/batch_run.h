#pragma once

#include <functional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "engine/options.h"

// Runs of the command line without any window, for scripts: every line they have to say goes to
// a line sink, and the outcome is an exit code.

// Where a batch run's lines go (UTF-8, without line ends). Fields are separated by a tab, and a
// field's control characters are escaped (EscapedControls), so that a name from a list never
// makes a field or line of its own: "path<TAB>what" or "list<TAB>name<TAB>outcome".
using TBatchLine = std::function<void(std::string_view line)>;

enum class TBatchExit : int {
  Correct = 0,   // every row correct, every page saved complete
  Failed = 1,    // a row failed or was cancelled; files left out of a list; a folder's file or
                 // sub-folder that could not be read or listed
  Unusable = 2,  // a path that names nothing or no list, a named list or folder that could not be
                 // read or listed, a list not saved, nothing done
};

// Verifies every list that the paths name or (folders) hold, each against its files, as the
// verification window would (options.dirRecursive, options.compareUnlisted), and says one line
// per row that is not correct and one summary line per list.
TBatchExit RunBatchVerification(std::vector<std::string> paths, const TRunOptions& options,
                                const std::string& separator, const TBatchLine& line, const std::stop_token& cancel);

// Hashes the paths into pages as the creation window would (options.kind, dirList,
// dirRecursive) and saves every page where an automatic save would, whatever the automatic-save
// options say, replacing an existing list only with options.autoSaveForceOverwrite. One line
// per file left out, per list saved and per list not saved.
TBatchExit RunBatchCreation(std::vector<std::string> paths, const TRunOptions& options, const std::string& separator,
                            const TBatchLine& line, const std::stop_token& cancel);

// Verifies the list at path and writes it again brought up to date (PlanListUpdate), the lines of
// rows whose files no longer match kept as they were. One line per file added, dropped, changed,
// not read or left out, then a summary line. Failed when a file changed or could not be read or
// hashed; Unusable when the list could not be read, updated or written.
TBatchExit RunBatchUpdate(const std::string& path, const TRunOptions& options, const std::string& separator,
                          const TBatchLine& line, const std::stop_token& cancel);
