#pragma once

#include <string>
#include <string_view>

namespace win {

enum class WriteResult {
  Written,
  CannotCreate,  // the target is read-only or a folder, its folder is missing, or the name is refused
  CannotWrite,   // the bytes did not all reach the disk
};

// Writes bytes as the whole new content of the file at path. They go to a temporary file beside
// it first, which then replaces the old file in one step, so a failure on the way (disk full, no
// access, a vanished folder, a crash) leaves an existing file as it was and no temporary file
// behind. A read-only file is refused, although replacing it would succeed on some file systems:
// read-only is the user's way of keeping a file as it is.
[[nodiscard]] WriteResult WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace win
