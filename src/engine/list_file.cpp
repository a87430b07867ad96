#include "engine/list_file.h"

#include <algorithm>
#include <cstdint>

#include "core/listread.h"
#include "win/file.h"

namespace {

std::size_t CountLineEnds(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }));
}

}  // namespace

bool IsChecksumListFile(const std::string& path) {
  win::InFile file;
  if (!file.Open(path)) return false;
  // "Name " decides on 5 bytes, an MD5 line on 33; reading 33 at once tells both.
  char start[33];
  DWORD got = 0;
  if (!file.ReadUpTo(start, sizeof start, got)) return false;
  return IsChecksumListStart(std::string_view(start, got));
}

bool LoadChecksumList(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  win::InFile file;
  if (!file.Open(path)) return false;
  const std::optional<std::uint64_t> size = file.Size();
  if (!size || *size > kMaxChecksumListBytes) return false;

  constexpr DWORD kBlock = 65536;
  std::string text;
  text.reserve(static_cast<std::size_t>(*size));
  // The first two lines decide whether the text can still be a list; once four line-end
  // characters are in, both lines are complete and the decision cannot change any more.
  std::size_t lineEnds = 0;
  constexpr std::size_t kDecidedLineEnds = 4;
  for (;;) {
    const std::size_t before = text.size();
    text.resize(before + kBlock);
    DWORD n = 0;
    if (!file.Read(text.data() + before, kBlock, n)) return false;
    text.resize(before + n);
    if (n == 0) break;
    if (text.size() > kMaxChecksumListBytes) return false;  // grew while it was read
    if (lineEnds < kDecidedLineEnds) {
      const std::size_t added = CountLineEnds(std::string_view(text).substr(before));
      if (added > 0) {
        lineEnds += added;
        if (!ListTextMayContinue(text)) return false;
      }
    }
  }
  lines = SplitLines(text);
  return true;
}
