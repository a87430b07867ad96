#include "engine/list_document.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/codepage.h"
#include "core/path.h"
#include "core/relpath.h"
#include "core/utf8.h"
#include "win/unicode.h"

namespace {

// The rows in the ANSI code page, or nullopt when one of their texts has no code there.
std::optional<std::vector<ChecksumRow>> AnsiRows(std::span<const ChecksumRow> rows) {
  std::vector<ChecksumRow> ansiRows;
  ansiRows.reserve(rows.size());
  for (const ChecksumRow& row : rows) {
    std::optional<std::string> name = win::AnsiFromUtf8Exact(row.Name);
    std::optional<std::string> bytes = win::AnsiFromUtf8Exact(row.Bytes);
    if (!name || !bytes) return std::nullopt;
    ansiRows.push_back({.Name = std::move(*name), .Hash = row.Hash, .Bytes = std::move(*bytes)});
  }
  return ansiRows;
}

}  // namespace

TListDocument MakeListDocument(THashType kind, std::span<const ChecksumRow> rows, const std::string& baseFolder,
                               std::string_view totalLine, const TRunOptions& options) {
  if (rows.empty()) return {};
  TListDocument document{.bytes = {},
                         .text = {},
                         .folder = baseFolder,
                         .fileName = DefaultSaveName(rows, baseFolder, IsNeverLeadByte),
                         .ext = options.DefaultExt(kind)};
  if (kind == THashType::BLAKE3) {
    // b3sum reads and writes UTF-8 only: a list of ASCII names is the same in both encodings and
    // has no mark; another name needs the mark for readers that would take the ANSI code page.
    document.text = RenderChecksumList(kind, rows, totalLine, DisplayColumns);
    const bool ascii = std::all_of(document.text.begin(), document.text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    document.bytes = (ascii ? std::string() : std::string(kUtf8Bom)) + document.text;
    return document;
  }
  const std::optional<std::vector<ChecksumRow>> ansiRows = AnsiRows(rows);
  const std::optional<std::string> ansiTotal = win::AnsiFromUtf8Exact(totalLine);
  if (ansiRows && ansiTotal) {
    document.bytes = RenderChecksumList(kind, *ansiRows, *ansiTotal);
    document.text = win::Utf8FromAnsi(document.bytes);
  } else {
    document.text = RenderChecksumList(kind, rows, totalLine, DisplayColumns);
    document.bytes = std::string(kUtf8Bom) + document.text;
  }
  return document;
}

std::string AutoSavePath(const TListDocument& document) {
  const std::string prefix =
      document.folder.empty() ? std::string() : IncludeTrailingPathDelimiter(document.folder, IsNeverLeadByte);
  return prefix + document.fileName + "." + document.ext;
}

std::string AutoSavePathOf(std::span<const std::string> files, const std::string& baseFolder,
                           const TRunOptions& options) {
  // The save name tells a list of one row from a list of several, whose names do not matter.
  std::vector<ChecksumRow> rows;
  if (files.size() == 1) {
    rows.push_back({.Name = RelativeName(baseFolder, files.front(), IsNeverLeadByte), .Hash = {}, .Bytes = {}});
  }
  return AutoSavePath({.bytes = {},
                       .text = {},
                       .folder = baseFolder,
                       .fileName = DefaultSaveName(rows, baseFolder, IsNeverLeadByte),
                       .ext = options.DefaultExt(options.kind)});
}

bool AutoSaveApplies(const TRunOptions& options, bool folderPage) {
  return folderPage ? options.autoSaveDir : options.autoSaveFile;
}
