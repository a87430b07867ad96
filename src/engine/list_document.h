#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/listtext.h"
#include "engine/options.h"

// A creation page's checksum list as the text view shows it and saving writes it.
struct TListDocument {
  std::string text;      // the list's bytes; empty when the page has no rows (no list)
  std::string folder;    // the base folder: where saving starts
  std::string fileName;  // the name saving offers, without extension
  std::string ext;       // the default extension of the kind

  [[nodiscard]] bool HasList() const { return !text.empty(); }
};

// The list of a page's rows; totalLine closes the table layout.
TListDocument MakeListDocument(THashType kind, std::span<const ChecksumRow> rows, const std::string& baseFolder,
                               std::string_view totalLine, const TRunOptions& options);

// Where an automatic save writes: folder + "\" + file name + "." + extension. A page of relative
// paths (a command line naming files of the current folder) has no folder: its list goes to the
// current folder, where its files are.
std::string AutoSavePath(const TListDocument& document);

// Whether the options save a finished page automatically: folder pages with
// "自動保存 - ディレクトリ", pages of loose files with "自動保存 - ファイル".
bool AutoSaveApplies(const TRunOptions& options, bool folderPage);
