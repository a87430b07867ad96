#pragma once

#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "engine/creation_run.h"
#include "win/folder.h"

// What an intake (a drop, or the paths of the command line) is made of, before any run.
struct TIntakePaths {
  std::vector<std::string> files;    // in locale order
  std::vector<std::string> folders;  // in locale order
};

// Replaces every path by its long form (in place, as the caller keeps them) and splits them into
// files and folders. A path that names no folder loses the "\" that the long form gives a
// component it cannot find, so that it names the missing file as given.
TIntakePaths SortIntake(std::vector<std::string>& paths);

// The files and, when recursive, the sub-folders of one folder, each in locale order; takeBreak
// runs every few hundred entries. listing.error tells a folder that could not be listed whole.
win::FolderListing SearchFolder(const std::string& folder, bool recursive, const win::ListingBreak& takeBreak = {});

// A page's files and the folder it was made for (with a trailing "\"; empty for loose files).
using TAddPage = std::function<void(const TPageFiles& page, const std::string& folder)>;

// Creation's pages of an intake in order. With dirList: the loose files, then one page per
// folder (and, recursive, per sub-folder, depth first); without: one page of the loose files
// followed by every folder's files. Folders are listed when their turn comes, so a page sees the
// folder as it is then. A folder that cannot be listed whole is the page's unlisted folder (the
// page of its own folder with dirList). takeBreak runs every few hundred entries listed (the
// window's messages).
void PlanCreationPages(const TIntakePaths& intake, bool dirList, bool recursive, const TAddPage& addPage,
                       const win::ListingBreak& takeBreak = {});

// Verification's lists of an intake in order: the dropped files (reportNonLists), then the files
// of every folder (and, recursive, its sub-folders, depth first). Once cancel is requested no
// further folder is listed. A folder that cannot be listed whole goes to folderFailed (before the
// lists that were found in it), with a trailing "\".
using TOpenLists = std::function<void(const std::vector<std::string>& files, bool reportNonLists)>;
using TFolderFailed = std::function<void(const TLeftOutPath& folder)>;
void PlanVerificationLists(const TIntakePaths& intake, bool recursive, const TOpenLists& openLists,
                           const TFolderFailed& folderFailed, const std::stop_token& cancel,
                           const win::ListingBreak& takeBreak = {});
