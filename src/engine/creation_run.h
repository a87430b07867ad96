#pragma once

#include <stop_token>
#include <string>
#include <vector>

#include "engine/options.h"
#include "engine/run_observer.h"

// The folder of a page's first file without a trailing "\" ("C:" for a drive root): the names
// of the page are relative to it, and saving offers it. Empty without files.
std::string BaseFolderOf(const std::vector<std::string>& files);

// What one creation page is made of: the files to hash, the files of its folders that no path
// can name (see win::FolderListing), and its folders that could not be listed whole (each with
// a trailing "\": their files are missing from the page).
struct TPageFiles {
  std::vector<std::string> files;
  std::vector<std::string> unnamable;
  std::vector<TLeftOutPath> unlistedFolders{};

  [[nodiscard]] bool Empty() const { return files.empty() && unnamable.empty() && unlistedFolders.empty(); }
};

// The page's base folder: BaseFolderOf its files, or else of its unnamable files, or else its
// first unlisted folder itself.
std::string BaseFolderOf(const TPageFiles& page);

// One creation page's work: hashes the files one after the other with options.kind and reports
// a row for each readable file (its name relative to baseFolder, "*" in front in MD5 binary
// mode, the hash in the case the options ask for, the size grouped with separator), with the
// page's total line after every file. A file that cannot be hashed gets no row and is reported
// as left out with its reason; so are the unlisted folders and the unnamable files, first.
// Before every file messages run and cancel is read; with options.showProcess also after
// every block. done counts the rows, leftOut the files and folders left out. The page's own list, the file that saving
// the page would replace (AutoSavePathOf), is never hashed: made again, a folder's list leaves its old self out.
TRunResult RunCreation(const TPageFiles& page, const std::string& baseFolder, const TRunOptions& options,
                       const std::string& separator, TRunObserver& observer, const std::stop_token& cancel);
