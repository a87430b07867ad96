#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// A checksum list that could not be written. The message is ANSI text, as the application's
// error box shows it: "ファイル <path> を作成できません" or "ストリームへの書き込みに失敗しました".
class TListFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes text as the whole new content of the file at path. The bytes go to a temporary file
// beside it first, which then replaces the old file in one step, so a failure on the way
// (disk full, no access, a vanished folder) leaves an existing list as it was. Raises
// TListFileError.
void WriteListFile(const std::string& path, std::string_view text);
