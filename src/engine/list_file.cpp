#include "engine/list_file.h"

#include <algorithm>
#include <cstdint>

#include "core/codepage.h"
#include "core/list_bytes.h"
#include "core/listread.h"
#include "core/path.h"
#include "core/text_encoding.h"
#include "win/file.h"
#include "win/unicode.h"

namespace {

std::size_t CountLineEnds(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }));
}

// The probe's decoder: the forms it looks for are ASCII, so ANSI bytes may stay as they are.
std::string KeepBytes(std::string_view ansi) { return std::string(ansi); }

bool IsUtf16(std::string_view bytes) {
  const TextEncoding encoding = EncodingFromBom(bytes).encoding;
  return encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE;
}

bool LoadListBytes(const std::string& path, std::string& bytes) {
  win::InFile file;
  if (!file.Open(path)) return false;
  const std::optional<std::uint64_t> size = file.Size();
  if (!size || *size > kMaxChecksumListBytes) return false;

  constexpr DWORD kBlock = 65536;
  // Room for the last read's whole block too: the buffer never grows, so it is never held twice.
  bytes.reserve(static_cast<std::size_t>(*size) + kBlock);
  // The first two lines decide whether the text can still be a list; once four line-end
  // characters are in, both lines are complete and the decision cannot change any more. The
  // early look works on the bytes of the ASCII-compatible encodings; a UTF-16 list is decided
  // when it is whole.
  std::size_t lineEnds = 0;
  constexpr std::size_t kDecidedLineEnds = 4;
  for (;;) {
    const std::size_t before = bytes.size();
    bytes.resize(before + kBlock);
    DWORD n = 0;
    if (!file.Read(bytes.data() + before, kBlock, n)) return false;
    bytes.resize(before + n);
    if (n == 0) break;
    if (bytes.size() > kMaxChecksumListBytes) return false;  // grew while it was read
    if (lineEnds < kDecidedLineEnds && !IsUtf16(bytes)) {
      const std::size_t added = CountLineEnds(std::string_view(bytes).substr(before));
      if (added > 0) {
        lineEnds += added;
        if (!ListTextMayContinue(std::string_view(bytes).substr(EncodingFromBom(bytes).bomLength))) return false;
      }
    }
  }
  return true;
}

}  // namespace

bool IsChecksumListFile(const std::string& path) {
  win::InFile file;
  if (!file.Open(path)) return false;
  // Enough bytes for kProbeBytes UTF-16 characters after a byte-order mark: the probe sees as
  // many characters in every encoding.
  char start[2 + 2 * kProbeBytes];
  DWORD got = 0;
  if (!file.ReadUpTo(start, sizeof start, got)) return false;
  return IsChecksumListStart(DecodeListBytes(std::string(start, got), KeepBytes), got < sizeof start);
}

ChecksumList ReadChecksumList(const std::string& path) {
  std::string bytes;
  if (!IsChecksumListFile(path) || !LoadChecksumList(path, bytes)) return {};
  return ParseChecksumListBytes(std::move(bytes), win::Utf8FromAnsiMarked, ExtractFileName(path, IsNeverLeadByte));
}

bool LoadChecksumList(const std::string& path, std::string& bytes) {
  bytes.clear();
  if (LoadListBytes(path, bytes)) return true;
  bytes = std::string();  // nothing of a file that is no list stays in memory
  return false;
}
