#include "engine/intake.h"

#include <optional>

#include "core/codepage.h"
#include "core/path.h"
#include "win/file.h"
#include "win/long_name.h"
#include "win/user_locale.h"

TIntakePaths SortIntake(std::vector<std::string>& paths) {
  win::ExpandLongNames(paths);
  TIntakePaths intake;
  for (std::string& path : paths) {
    if (win::DirectoryExists(path)) {
      intake.folders.push_back(path);
    } else {
      path = ExcludeTrailingPathDelimiter(path, IsNeverLeadByte);
      intake.files.push_back(path);
    }
  }
  win::SortPathsLocale(intake.files);
  win::SortPathsLocale(intake.folders);
  return intake;
}

win::FolderListing SearchFolder(const std::string& folder, bool recursive, const win::ListingBreak& takeBreak) {
  win::FolderListing listing =
      win::ListFolder(IncludeTrailingPathDelimiter(folder, IsNeverLeadByte), recursive, takeBreak);
  win::SortPathsLocale(listing.files, takeBreak);
  win::SortPathsLocale(listing.folders, takeBreak);
  return listing;
}

namespace {

// The folder of a listing that failed, with a trailing "\", and why; nullopt for a whole one.
std::optional<TLeftOutPath> ListingFailure(const std::string& folder, const win::FolderListing& listing) {
  if (listing.error == 0) return std::nullopt;
  return TLeftOutPath{IncludeTrailingPathDelimiter(folder, IsNeverLeadByte), FailureOfError(listing.error)};
}

void NoteListingFailure(const std::string& folder, const win::FolderListing& listing, TPageFiles& page) {
  if (std::optional<TLeftOutPath> failure = ListingFailure(folder, listing)) {
    page.unlistedFolders.push_back(std::move(*failure));
  }
}

void CollectFolder(const std::string& folder, bool recursive, TPageFiles& page, const win::ListingBreak& takeBreak) {
  const win::FolderListing listing = SearchFolder(folder, recursive, takeBreak);
  NoteListingFailure(folder, listing, page);
  page.files.insert(page.files.end(), listing.files.begin(), listing.files.end());
  page.unnamable.insert(page.unnamable.end(), listing.unnamable.begin(), listing.unnamable.end());
  for (const std::string& subfolder : listing.folders) CollectFolder(subfolder, recursive, page, takeBreak);
}

void PageOfFolder(const std::string& folder, bool recursive, const TAddPage& addPage,
                  const win::ListingBreak& takeBreak) {
  const win::FolderListing listing = SearchFolder(folder, recursive, takeBreak);
  TPageFiles page{listing.files, listing.unnamable};
  NoteListingFailure(folder, listing, page);
  addPage(page, IncludeTrailingPathDelimiter(folder, IsNeverLeadByte));
  for (const std::string& subfolder : listing.folders) PageOfFolder(subfolder, recursive, addPage, takeBreak);
}

void ListsOfFolder(const std::string& folder, bool recursive, const TOpenLists& openLists,
                   const TFolderFailed& folderFailed, const std::stop_token& cancel,
                   const win::ListingBreak& takeBreak) {
  // Once cancelled no list is opened any more, so the rest of the tree need not be listed.
  if (cancel.stop_requested()) return;
  const win::FolderListing listing = SearchFolder(folder, recursive, takeBreak);
  if (const std::optional<TLeftOutPath> failure = ListingFailure(folder, listing)) folderFailed(*failure);
  openLists(listing.files, false);
  for (const std::string& subfolder : listing.folders) {
    ListsOfFolder(subfolder, recursive, openLists, folderFailed, cancel, takeBreak);
  }
}

}  // namespace

void PlanCreationPages(const TIntakePaths& intake, bool dirList, bool recursive, const TAddPage& addPage,
                       const win::ListingBreak& takeBreak) {
  if (dirList) {
    addPage({intake.files, {}}, {});
    for (const std::string& folder : intake.folders) PageOfFolder(folder, recursive, addPage, takeBreak);
    return;
  }
  TPageFiles page{intake.files, {}};
  for (const std::string& folder : intake.folders) CollectFolder(folder, recursive, page, takeBreak);
  addPage(page, {});
}

void PlanVerificationLists(const TIntakePaths& intake, bool recursive, const TOpenLists& openLists,
                           const TFolderFailed& folderFailed, const std::stop_token& cancel,
                           const win::ListingBreak& takeBreak) {
  openLists(intake.files, true);
  for (const std::string& folder : intake.folders) {
    ListsOfFolder(folder, recursive, openLists, folderFailed, cancel, takeBreak);
  }
}
