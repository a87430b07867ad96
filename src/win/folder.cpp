#include "win/folder.h"

#include <windows.h>

#include "core/utf8.h"
#include "win/file_path.h"
#include "win/handle.h"
#include "win/unicode.h"

namespace win {

FolderListing ListFolder(const std::string& folderWithDelimiter, bool withSubfolders, const ListingBreak& takeBreak) {
  FolderListing listing;
  WIN32_FIND_DATAW entry;
  const FindHandle find(FindFirstFileW(FileSystemPath(folderWithDelimiter + "*.*").c_str(), &entry));
  if (!find) return listing;
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
  } while (FindNextFileW(find.get(), &entry));
  return listing;
}

}  // namespace win
