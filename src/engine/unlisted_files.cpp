#include "engine/unlisted_files.h"

#include <unordered_set>

#include "core/codepage.h"
#include "core/path.h"
#include "core/relpath.h"
#include "engine/cancel.h"
#include "engine/verification_run.h"
#include "win/file_path.h"
#include "win/folder.h"
#include "win/user_locale.h"

namespace {

// Folders in the order first added, each once (compared by key).
class FolderSet {
 public:
  void Add(const std::string& folder) {
    if (keys_.insert(win::PathKey(folder)).second) folders_.push_back(folder);
  }
  [[nodiscard]] const std::vector<std::string>& Folders() const { return folders_; }

 private:
  std::unordered_set<std::wstring> keys_;
  std::vector<std::string> folders_;
};

// The folder of path (no trailing "\"), and below base the folders between them.
void AddReachedFolders(const std::string& baseFolder, const std::string& path, FolderSet& folders) {
  const std::wstring baseKey = win::PathKey(baseFolder);
  std::string folder = ExcludeTrailingPathDelimiter(ExtractFilePath(path, IsNeverLeadByte), IsNeverLeadByte);
  for (;;) {
    folders.Add(folder);
    const std::wstring key = win::PathKey(folder);
    // Only folders strictly below the list's folder lead further up.
    if (key.size() <= baseKey.size() || !key.starts_with(baseKey) || key[baseKey.size()] != L'\\') return;
    const std::string parent = ExcludeTrailingPathDelimiter(ExtractFilePath(folder, IsNeverLeadByte), IsNeverLeadByte);
    if (parent.size() >= folder.size()) return;
    folder = parent;
  }
}

}  // namespace

std::vector<std::string> FindUnlistedFiles(const ChecksumList& list, const std::string& listPath) {
  const std::string listFolder = ExtractFilePath(win::AbsolutePath(listPath), IsNeverLeadByte);
  const std::string baseFolder = ExcludeTrailingPathDelimiter(listFolder, IsNeverLeadByte);
  std::unordered_set<std::wstring> named;
  named.reserve(list.size() + 1);
  named.insert(win::PathKey(listPath));
  FolderSet folders;
  folders.Add(baseFolder);
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string path = win::AbsolutePath(EntryPath(listFolder, list.Entry(i).name));
    named.insert(win::PathKey(path));
    AddReachedFolders(baseFolder, path, folders);
  }

  std::vector<std::string> unlisted;
  for (const std::string& folder : folders.Folders()) {
    if (CancelFlag) break;
    const win::FolderListing listing = win::ListFolder(IncludeTrailingPathDelimiter(folder, IsNeverLeadByte), false);
    for (const std::vector<std::string>* files : {&listing.files, &listing.unnamable}) {
      for (const std::string& file : *files) {
        if (!named.contains(win::PathKey(file))) unlisted.push_back(file);
      }
    }
  }
  win::SortPathsLocale(unlisted);
  for (std::string& path : unlisted) path = RelativeName(listFolder, path, IsNeverLeadByte);
  return unlisted;
}
