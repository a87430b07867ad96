#pragma once

#include <functional>
#include <string>
#include <string_view>

// How saving a list (or a report) ended.
enum class TSaveOutcome {
  Saved,
  Kept,          // a file was there and was not to be replaced: nothing written
  CannotCreate,  // see win::WriteResult
  CannotWrite,
};

// Whether the file at path, which exists, is to be replaced: the user's answer in the windows.
using TAskOverwrite = std::function<bool(const std::string& path)>;

// The one way a list reaches the disk, for the text view, the automatic save and the batch run:
// the bytes are the file's whole new content, written atomically (win::WriteFileAtomically). An
// existing file is replaced when overwrite says so, else only when askOverwrite (if given)
// answers yes.
TSaveOutcome SaveListBytes(const std::string& path, std::string_view bytes, bool overwrite,
                           const TAskOverwrite& askOverwrite = {});
