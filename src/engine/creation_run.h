#pragma once

#include <string>
#include <vector>

#include "engine/options.h"
#include "engine/run_observer.h"

// The folder of a page's first file without a trailing "\" ("C:" for a drive root): the names
// of the page are relative to it, and saving offers it. Empty without files.
std::string BaseFolderOf(const std::vector<std::string>& files);

// One creation page's work: hashes the files one after the other with options.kind and reports
// a row for each readable file (its name relative to baseFolder, "*" in front in MD5 binary
// mode, the hash in the case the options ask for, the size grouped with separator), with the
// page's total line after every file. Before every file messages run and CancelFlag is read;
// with options.showProcess also after every block. done counts the rows.
TRunResult RunCreation(const std::vector<std::string>& files, const std::string& baseFolder, const TRunOptions& options,
                       const std::string& separator, TRunObserver& observer);
