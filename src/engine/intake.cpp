#include "engine/intake.h"

#include "core/path.h"
#include "engine/cancel.h"
#include "win/file.h"
#include "win/long_name.h"
#include "win/user_locale.h"

TIntakePaths SortIntake(std::vector<std::string>& paths) {
  win::ExpandLongNames(paths);
  TIntakePaths intake;
  for (const std::string& path : paths) (win::DirectoryExists(path) ? intake.folders : intake.files).push_back(path);
  win::SortPathsLocale(intake.files);
  win::SortPathsLocale(intake.folders);
  return intake;
}

win::FolderListing SearchFolder(const std::string& folder, bool recursive) {
  win::FolderListing listing = win::ListFolder(IncludeTrailingPathDelimiter(folder, win::IsAnsiLeadByte), recursive);
  win::SortPathsLocale(listing.files);
  win::SortPathsLocale(listing.folders);
  return listing;
}

namespace {

void CollectFolder(const std::string& folder, bool recursive, std::vector<std::string>& files) {
  const win::FolderListing listing = SearchFolder(folder, recursive);
  files.insert(files.end(), listing.files.begin(), listing.files.end());
  for (const std::string& subfolder : listing.folders) CollectFolder(subfolder, recursive, files);
}

void PageOfFolder(const std::string& folder, bool recursive, const TAddPage& addPage) {
  const win::FolderListing listing = SearchFolder(folder, recursive);
  addPage(listing.files, IncludeTrailingPathDelimiter(folder, win::IsAnsiLeadByte));
  for (const std::string& subfolder : listing.folders) PageOfFolder(subfolder, recursive, addPage);
}

void ListsOfFolder(const std::string& folder, bool recursive, const TOpenLists& openLists) {
  // Once cancelled no list is opened any more, so the rest of the tree need not be listed.
  if (CancelFlag) return;
  const win::FolderListing listing = SearchFolder(folder, recursive);
  openLists(listing.files, false);
  for (const std::string& subfolder : listing.folders) ListsOfFolder(subfolder, recursive, openLists);
}

}  // namespace

void PlanCreationPages(const TIntakePaths& intake, bool dirList, bool recursive, const TAddPage& addPage) {
  if (dirList) {
    addPage(intake.files, {});
    for (const std::string& folder : intake.folders) PageOfFolder(folder, recursive, addPage);
    return;
  }
  std::vector<std::string> files = intake.files;
  for (const std::string& folder : intake.folders) CollectFolder(folder, recursive, files);
  addPage(files, {});
}

void PlanVerificationLists(const TIntakePaths& intake, bool recursive, const TOpenLists& openLists) {
  openLists(intake.files, true);
  for (const std::string& folder : intake.folders) ListsOfFolder(folder, recursive, openLists);
}
