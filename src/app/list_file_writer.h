#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// A checksum list (or a report) that could not be written. The message is UTF-8, as the
// application's error box shows it: "ファイル <path> を作成できません" or
// "ストリームへの書き込みに失敗しました".
class TListFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes text as the whole new content of the file at path, atomically (see
// win::WriteFileAtomically): an old file is replaced whole or kept. Raises TListFileError.
void WriteListFile(const std::string& path, std::string_view text);
