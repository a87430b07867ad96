#include "win/folder.h"

#include <windows.h>

#include "core/utf8.h"
#include "win/fault_injection.h"
#include "win/file_path.h"
#include "win/handle.h"
#include "win/unicode.h"

namespace win {

namespace {

// Not found means that there is nothing to list: the folder is gone, or (a drive's root) holds
// no entry at all. Every other error leaves entries unlisted.
DWORD ListingError(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_NO_MORE_FILES ? 0 : error;
}

bool FindFirst(const std::string& folderWithDelimiter, WIN32_FIND_DATAW& entry, FindHandle& find) {
  if (const DWORD error = InjectedError(FaultCall::ListFirst, folderWithDelimiter)) {
    SetLastError(error);
    return false;
  }
  find.reset(FindFirstFileW(FileSystemPath(folderWithDelimiter + "*.*").c_str(), &entry));
  return find.valid();
}

bool FindNext(const std::string& folderWithDelimiter, WIN32_FIND_DATAW& entry, const FindHandle& find) {
  if (const DWORD error = InjectedError(FaultCall::ListNext, folderWithDelimiter)) {
    SetLastError(error);
    return false;
  }
  return FindNextFileW(find.get(), &entry) != FALSE;
}

}  // namespace

FolderListing ListFolder(const std::string& folderWithDelimiter, bool withSubfolders, const ListingBreak& takeBreak) {
  FolderListing listing;
  WIN32_FIND_DATAW entry;
  FindHandle find;
  if (!FindFirst(folderWithDelimiter, entry, find)) {
    listing.error = ListingError(GetLastError());
    return listing;
  }
  std::size_t entries = 0;
  do {
    if (takeBreak && ++entries % kEntriesPerBreak == 0) takeBreak();
    const std::wstring_view wideName = entry.cFileName;
    const std::string name = Utf8FromWide(wideName);
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      const bool named =
          !HasLoneSurrogate(std::u16string_view(reinterpret_cast<const char16_t*>(wideName.data()), wideName.size()));
      (named ? listing.files : listing.unnamable).push_back(folderWithDelimiter + name);
    } else if (withSubfolders && name != "." && name != "..") {
      listing.folders.push_back(folderWithDelimiter + name);
    }
  } while (FindNext(folderWithDelimiter, entry, find));
  listing.error = ListingError(GetLastError());
  return listing;
}

}  // namespace win
