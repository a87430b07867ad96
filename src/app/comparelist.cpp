#include "app/comparelist.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "core/listread.h"
#include "ui/handles.h"

namespace {

// Both reads refuse other writers, as the list must not change while it is read.
UniqueHandle OpenForReading(const std::string& path) {
  return UniqueHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Reads until count bytes are there or the file ends; false on a read error.
bool ReadUpTo(HANDLE file, char* buffer, DWORD count, DWORD& got) {
  got = 0;
  while (got < count) {
    DWORD n = 0;
    if (!ReadFile(file, buffer + got, count - got, &n, nullptr)) return false;
    if (n == 0) break;
    got += n;
  }
  return true;
}

std::size_t CountLineEnds(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }));
}

}  // namespace

bool IsChecksumListFile(const std::string& path) {
  const UniqueHandle file = OpenForReading(path);
  if (!file) return false;
  // "Name " decides on 5 bytes, an MD5 line on 33; reading 33 at once tells both.
  char start[33];
  DWORD got = 0;
  if (!ReadUpTo(file.get(), start, sizeof start, got)) return false;
  return IsChecksumListStart(std::string_view(start, got));
}

bool LoadChecksumList(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  const UniqueHandle file = OpenForReading(path);
  if (!file) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || static_cast<std::uint64_t>(size.QuadPart) > kMaxChecksumListBytes) {
    return false;
  }

  constexpr DWORD kBlock = 65536;
  std::string text;
  text.reserve(static_cast<std::size_t>(size.QuadPart));
  // The first two lines decide whether the text can still be a list; once four line-end
  // characters are in, both lines are complete and the decision cannot change any more.
  std::size_t lineEnds = 0;
  constexpr std::size_t kDecidedLineEnds = 4;
  for (;;) {
    const std::size_t before = text.size();
    text.resize(before + kBlock);
    DWORD n = 0;
    if (!ReadFile(file.get(), text.data() + before, kBlock, &n, nullptr)) return false;
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
