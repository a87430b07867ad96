#include "app/list_file_writer.h"

#include "ui/text.h"
#include "win/atomic_write.h"

void WriteListFile(const std::string& path, std::string_view text) {
  switch (win::WriteFileAtomically(path, text)) {
    case win::WriteResult::Written: return;
    case win::WriteResult::CannotCreate:
      throw TListFileError(ui::Utf8(u8"ファイル ") + path + ui::Utf8(u8" を作成できません"));
    case win::WriteResult::CannotWrite: throw TListFileError(ui::Utf8(u8"ストリームへの書き込みに失敗しました"));
  }
}
