#include "app/list_file_writer.h"

#include "ui/text.h"

bool SaveListFile(const std::string& path, std::string_view bytes, bool overwrite, const TAskOverwrite& askOverwrite) {
  switch (SaveListBytes(path, bytes, overwrite, askOverwrite)) {
    case TSaveOutcome::Saved: return true;
    case TSaveOutcome::Kept: return false;
    case TSaveOutcome::CannotCreate:
      throw TListFileError(ui::Utf8(u8"ファイル ") + path + ui::Utf8(u8" を作成できません"));
    case TSaveOutcome::CannotWrite: break;
  }
  throw TListFileError(ui::Utf8(u8"ストリームへの書き込みに失敗しました"));
}

void WriteListFile(const std::string& path, std::string_view text) { (void)SaveListFile(path, text, true, {}); }
