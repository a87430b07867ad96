#pragma once

#include <string>
#include <vector>

// The system's ANSI code page as the program meets it: its lead bytes, file and folder tests,
// the user's thousands separator, folder listing and the locale order of paths.

// The lead-byte test of the system ANSI code page, in the form the core's path functions take.
bool IsAnsiLeadByte(unsigned char byte);

// True for an existing file (not a folder).
bool FileExists(const std::string& path);
// True for an existing folder, with or without a trailing "\".
bool DirectoryExists(const std::string& path);

// The user locale's thousands separator in ANSI bytes ("," in the Japanese setting).
std::string ThousandsSeparator();

struct FolderListing {
  std::vector<std::string> files;    // full paths: folder + name
  std::vector<std::string> folders;  // full paths, no trailing "\"; only when asked for
};
// The entries of one folder (pattern "*.*"), unsorted, "." and ".." left out; files of every
// attribute. A folder that cannot be listed gives nothing.
FolderListing ListFolder(const std::string& folderWithDelimiter, bool withSubfolders);

// Orders paths by the user's locale collation, ignoring case. Not stable.
void SortPathsLocale(std::vector<std::string>& paths);
