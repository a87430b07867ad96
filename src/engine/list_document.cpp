#include "engine/list_document.h"

#include "core/path.h"
#include "win/user_locale.h"

TListDocument MakeListDocument(THashType kind, std::span<const ChecksumRow> rows, const std::string& baseFolder,
                               std::string_view totalLine, const TRunOptions& options) {
  if (rows.empty()) return {};
  return {.text = RenderChecksumList(kind, rows, totalLine),
          .folder = baseFolder,
          .fileName = DefaultSaveName(rows, baseFolder, win::IsAnsiLeadByte),
          .ext = options.DefaultExt(kind)};
}

std::string AutoSavePath(const TListDocument& document) {
  const std::string prefix =
      document.folder.empty() ? std::string() : IncludeTrailingPathDelimiter(document.folder, win::IsAnsiLeadByte);
  return prefix + document.fileName + "." + document.ext;
}

bool AutoSaveApplies(const TRunOptions& options, bool folderPage) {
  return folderPage ? options.autoSaveDir : options.autoSaveFile;
}
