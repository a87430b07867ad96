#pragma once

#include <string>
#include <vector>

namespace win {

struct FolderListing {
  std::vector<std::string> files;    // full paths: folder + name
  std::vector<std::string> folders;  // full paths, no trailing "\"; only when asked for
};
// The entries of one folder (pattern "*.*"), unsorted, "." and ".." left out; files of every
// attribute. A folder that cannot be listed gives nothing.
FolderListing ListFolder(const std::string& folderWithDelimiter, bool withSubfolders);

}  // namespace win
