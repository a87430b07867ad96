#include "win/folder.h"

#include <windows.h>

#include "win/handle.h"

namespace win {

FolderListing ListFolder(const std::string& folderWithDelimiter, bool withSubfolders) {
  FolderListing listing;
  WIN32_FIND_DATAA entry;
  win::FindHandle find(FindFirstFileA((folderWithDelimiter + "*.*").c_str(), &entry));
  if (!find) return listing;
  do {
    const std::string name = entry.cFileName;
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      listing.files.push_back(folderWithDelimiter + name);
    } else if (withSubfolders && name != "." && name != "..") {
      listing.folders.push_back(folderWithDelimiter + name);
    }
  } while (FindNextFileA(find.get(), &entry));
  return listing;
}

}  // namespace win
