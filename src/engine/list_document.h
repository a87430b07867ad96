#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/listtext.h"
#include "engine/options.h"

// A creation page's checksum list as the text view shows it and saving writes it.
struct TListDocument {
  // The file's bytes: in the ANSI code page, byte for byte as ever, when every text of the list
  // has its own code there; otherwise UTF-8 with a byte-order mark, the table's widths counted
  // in display columns. Empty when the page has no rows (no list).
  std::string bytes;
  std::string text;      // the same list as UTF-8 (no byte-order mark): the view and the clipboard
  std::string folder;    // the base folder: where saving starts
  std::string fileName;  // the name saving offers, without extension
  std::string ext;       // the default extension of the kind

  [[nodiscard]] bool HasList() const { return !bytes.empty(); }
};

// The list of a page's rows (UTF-8); totalLine closes the table layout.
TListDocument MakeListDocument(THashType kind, std::span<const ChecksumRow> rows, const std::string& baseFolder,
                               std::string_view totalLine, const TRunOptions& options);

// Where an automatic save writes: folder + "\" + file name + "." + extension. A page of relative
// paths (a command line naming files of the current folder) has no folder: its list goes to the
// current folder, where its files are.
std::string AutoSavePath(const TListDocument& document);

// The same path for a page that is to hash files with options.kind, worked out before it has any
// row: what saving the page will write if every file gets its row.
std::string AutoSavePathOf(std::span<const std::string> files, const std::string& baseFolder,
                           const TRunOptions& options);

// Whether the options save a finished page automatically: folder pages with
// "自動保存 - ディレクトリ", pages of loose files with "自動保存 - ファイル".
bool AutoSaveApplies(const TRunOptions& options, bool folderPage);
