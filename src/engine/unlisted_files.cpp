#include "engine/unlisted_files.h"

#include <unordered_set>
#include <utility>

#include "core/codepage.h"
#include "core/path.h"
#include "core/relpath.h"
#include "engine/verification_run.h"
#include "win/file_path.h"
#include "win/folder.h"
#include "win/user_locale.h"

namespace {

// Folders in the order first added, each once (compared by key).
class FolderSet {
 public:
  // False when the folder was there already.
  bool Add(const std::string& folder, std::wstring key) {
    if (!keys_.insert(std::move(key)).second) return false;
    folders_.push_back(folder);
    return true;
  }
  [[nodiscard]] const std::vector<std::string>& Folders() const { return folders_; }

 private:
  std::unordered_set<std::wstring> keys_;
  std::vector<std::string> folders_;
};

// baseKey ends in "\", also for a drive's root.
bool IsBelow(const std::wstring& key, const std::wstring& baseKey) {
  return key.size() > baseKey.size() && key.starts_with(baseKey);
}

// The folder of path (no trailing "\") and the folders between it and the list's folder, when it
// lies below the list's folder: a list's names never make the program list a foreign folder
// (another drive, a system folder, one above the list). A folder reached before brought its way
// up along then.
void AddReachedFolders(const std::wstring& baseKey, const std::string& path, FolderSet& folders) {
  std::string folder = ExcludeTrailingPathDelimiter(ExtractFilePath(path, IsNeverLeadByte), IsNeverLeadByte);
  for (;;) {
    std::wstring key = win::PathKey(folder);
    if (!IsBelow(key, baseKey) || !folders.Add(folder, std::move(key))) return;
    const std::string parent = ExcludeTrailingPathDelimiter(ExtractFilePath(folder, IsNeverLeadByte), IsNeverLeadByte);
    if (parent.size() >= folder.size()) return;
    folder = parent;
  }
}

}  // namespace

TUnlistedFiles FindUnlistedFiles(const ChecksumList& list, const std::string& listPath, const std::stop_token& cancel) {
  const std::string listFolder = ExtractFilePath(win::AbsolutePath(listPath), IsNeverLeadByte);
  const std::string baseFolder = ExcludeTrailingPathDelimiter(listFolder, IsNeverLeadByte);
  std::unordered_set<std::wstring> named;
  named.reserve(list.size() + 1);
  named.insert(win::PathKey(listPath));
  const std::wstring baseKey = win::PathKey(listFolder);
  FolderSet folders;
  folders.Add(baseFolder, baseKey);
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list.IsMalformed(i)) continue;  // names no file
    const std::string entryPath = EntryPath(listFolder, list.Entry(i).name);
    if (entryPath.empty()) continue;
    const std::string path = win::AbsolutePath(entryPath);
    named.insert(win::PathKey(path));
    AddReachedFolders(baseKey, path, folders);
  }

  std::vector<std::string> unlisted;
  std::vector<TLeftOutPath> unread;
  for (const std::string& folder : folders.Folders()) {
    if (cancel.stop_requested()) break;
    const std::string listed = IncludeTrailingPathDelimiter(folder, IsNeverLeadByte);
    const win::FolderListing listing = win::ListFolder(listed, false);
    if (listing.error != 0) {
      // The list's own folder has no relative name: it comes in full.
      const std::string name = RelativeName(listFolder, listed, IsNeverLeadByte);
      unread.push_back({name.empty() ? listed : name, FailureOfError(listing.error)});
    }
    for (const std::vector<std::string>* files : {&listing.files, &listing.unnamable}) {
      for (const std::string& file : *files) {
        if (!named.contains(win::PathKey(file))) unlisted.push_back(file);
      }
    }
  }
  win::SortPathsLocale(unlisted);
  for (std::string& path : unlisted) path = RelativeName(listFolder, path, IsNeverLeadByte);
  return {std::move(unlisted), std::move(unread)};
}

void AddUnlistedRows(VerificationTable& table, TUnlistedFiles found) {
  for (std::string& name : found.names) table.AddUnlisted(std::move(name));
  for (TLeftOutPath& folder : found.unreadFolders) {
    table.AddUnreadable(std::move(folder.path), HashFailureText(folder.reason));
  }
}
