#pragma once

#include <functional>
#include <string>
#include <vector>

namespace win {

struct FolderListing {
  std::vector<std::string> files;    // full paths: folder + name
  std::vector<std::string> folders;  // full paths, no trailing "\"; only when asked for
  // Files whose names are no valid UTF-16 (a lone surrogate, possible on NTFS): no path of the
  // program can name them. Full paths with U+FFFD in place of the broken character.
  std::vector<std::string> unnamable;
  // Why the folder could not be listed, or its listing ended early (a Win32 error code); 0 when
  // the listing is whole. The entries found before a failure are kept.
  unsigned long error = 0;
};
// Called every kEntriesPerBreak entries of a long listing or sort, so that the caller's window
// answers meanwhile (a folder of 100,000 files takes Wine most of a second).
using ListingBreak = std::function<void()>;
inline constexpr std::size_t kEntriesPerBreak = 256;

// The entries of one folder (pattern "*.*"), unsorted, "." and ".." left out; files of every
// attribute. Paths are UTF-8. A folder that holds nothing to find, or no longer exists, is
// empty; any other failure is the listing's error.
FolderListing ListFolder(const std::string& folderWithDelimiter, bool withSubfolders,
                         const ListingBreak& takeBreak = {});

}  // namespace win
