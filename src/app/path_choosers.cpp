#include "app/path_choosers.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "ui/dialogs.h"
#include "ui/text.h"

namespace {

// The extensions that lists carry by custom; the reader knows a list by its text, not its name.
constexpr std::string_view kListExtensions[] = {"crc", "md5", "sfv", "sha1", "sha256", "sha512", "b3"};

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// "*.crc;*.md5;..." with the options' own extensions added.
std::string ListPatterns(const TRunOptions& options) {
  std::vector<std::string> extensions(std::begin(kListExtensions), std::end(kListExtensions));
  for (const std::string* own :
       {&options.defaultExtCRC, &options.defaultExtMD5, &options.defaultExtSHA256, &options.defaultExtBLAKE3}) {
    const std::string extension = AsciiLower(*own);
    // A text that would break the filter's syntax is no extension a list could be saved with.
    if (extension.empty() || extension.find_first_of("|;*?\\/") != std::string::npos) continue;
    if (std::find(extensions.begin(), extensions.end(), extension) == extensions.end()) {
      extensions.push_back(extension);
    }
  }
  std::string patterns;
  for (const std::string& extension : extensions) patterns += (patterns.empty() ? "*." : ";*.") + extension;
  return patterns;
}

}  // namespace

std::vector<std::string> ChooseLists(const TRunOptions& options) {
  ui::OpenDialog dialog;
  const std::string patterns = ListPatterns(options);
  dialog.SetTitle(u8"チェックサムリストを開く");
  dialog.SetFilter(ui::Utf8(u8"チェックサムリスト(") + patterns + ")|" + patterns +
                   ui::Utf8(u8"|すべてのファイル(*.*)|*.*"));
  if (!dialog.Execute()) return {};
  return dialog.Files();
}

std::vector<std::string> ChooseFiles() {
  ui::OpenDialog dialog;
  dialog.SetTitle(u8"ファイルを開く");
  dialog.SetFilter(u8"すべてのファイル(*.*)|*.*");
  if (!dialog.Execute()) return {};
  return dialog.Files();
}

std::vector<std::string> ChooseFolder() {
  ui::FolderDialog dialog;
  dialog.SetTitle(u8"フォルダを開く");
  if (!dialog.Execute()) return {};
  return {dialog.Folder()};
}
