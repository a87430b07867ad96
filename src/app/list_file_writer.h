#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/list_save.h"

// A checksum list (or a report) that could not be written. The message is UTF-8, as the
// application's error box shows it: "ファイル <path> を作成できません" or
// "ストリームへの書き込みに失敗しました".
class TListFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Writes text as the whole new content of the file at path, atomically (SaveListBytes): an old
// file is replaced whole or kept. Raises TListFileError.
void WriteListFile(const std::string& path, std::string_view text);

// The same for a list that may not replace a file unasked: false when a file was there and
// neither overwrite nor askOverwrite let it be replaced. Raises TListFileError.
bool SaveListFile(const std::string& path, std::string_view bytes, bool overwrite, const TAskOverwrite& askOverwrite);
