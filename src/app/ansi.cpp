#include "app/ansi.h"

#include <algorithm>

#include "ui/handles.h"

bool IsAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string ThousandsSeparator() {
  char text[16] = {};  // at most four characters, each up to two bytes
  const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, text, sizeof text);
  if (length <= 1) return ",";  // no answer: the neutral default
  return std::string(text, static_cast<std::size_t>(length - 1));
}

FolderListing ListFolder(const std::string& folderWithDelimiter, bool withSubfolders) {
  FolderListing listing;
  WIN32_FIND_DATAA entry;
  FindHandle find(FindFirstFileA((folderWithDelimiter + "*.*").c_str(), &entry));
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

void SortPathsLocale(std::vector<std::string>& paths) {
  std::sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                          b.data(), static_cast<int>(b.size())) == CSTR_LESS_THAN;
  });
}
