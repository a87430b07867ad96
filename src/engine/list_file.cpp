#include "engine/list_file.h"

#include <cstdint>

#include "core/codepage.h"
#include "core/list_bytes.h"
#include "core/list_lines.h"
#include "core/listread.h"
#include "core/path.h"
#include "core/text_encoding.h"
#include "win/file.h"
#include "win/unicode.h"

namespace {

// The probe's decoder: the forms it looks for are ASCII, so ANSI bytes may stay as they are.
std::string KeepBytes(std::string_view ansi) { return std::string(ansi); }

// What the probe or loading found: failure None and noList false when the file goes on.
struct Step {
  THashFailure failure = THashFailure::None;
  bool noList = false;
};

Step ReadFailed() { return {.failure = FailureOfError(GetLastError())}; }

Step Probe(const std::string& path) {
  win::InFile file;
  if (!file.Open(path)) return {.failure = FailureOfError(file.OpenError())};
  const std::string name = ExtractFileName(path, IsNeverLeadByte);
  // Most files tell in their first bytes: a folder of large files is not read far. The rest of
  // the window, in UTF-16 after a byte-order mark too, only when those did not decide.
  std::string start;
  for (const std::size_t want : {std::size_t{4096}, 2 + 2 * kDetectionWindow}) {
    const std::size_t before = start.size();
    start.resize(want);
    DWORD got = 0;
    if (!file.ReadUpTo(start.data() + before, static_cast<DWORD>(want - before), got)) return ReadFailed();
    const bool whole = got < want - before;
    start.resize(before + got);
    const ListStart found = DetectListStart(DecodeListBytes(start, KeepBytes), whole, name);
    if (found.layout != ListLayout::None) return {};
    if (whole || !found.cutShort) return {.noList = true};
  }
  return {.noList = true};
}

Step LoadListBytes(const std::string& path, std::string& bytes) {
  win::InFile file;
  if (!file.Open(path)) return {.failure = FailureOfError(file.OpenError())};
  const std::optional<std::uint64_t> size = file.Size();
  if (!size) return ReadFailed();
  if (*size > kMaxChecksumListBytes) return {.noList = true};

  constexpr DWORD kBlock = 65536;
  // Room for the last read's whole block too: the buffer never grows, so it is never held twice.
  bytes.reserve(static_cast<std::size_t>(*size) + kBlock);
  for (;;) {
    const std::size_t before = bytes.size();
    bytes.resize(before + kBlock);
    DWORD n = 0;
    if (!file.Read(bytes.data() + before, kBlock, n)) return ReadFailed();
    bytes.resize(before + n);
    if (n == 0) return {};
    if (bytes.size() > kMaxChecksumListBytes) return {.failure = THashFailure::Changed};  // grew while it was read
  }
}

Step Load(const std::string& path, std::string& bytes) {
  bytes.clear();
  const Step step = LoadListBytes(path, bytes);
  if (step.failure != THashFailure::None || step.noList) bytes = std::string();  // nothing of it stays in memory
  return step;
}

}  // namespace

bool IsChecksumListFile(const std::string& path) {
  const Step step = Probe(path);
  return step.failure == THashFailure::None && !step.noList;
}

TListRead ReadChecksumList(const std::string& path) {
  std::string bytes;
  Step step = Probe(path);
  if (step.failure == THashFailure::None && !step.noList) step = Load(path, bytes);
  if (step.failure != THashFailure::None) return {.list = {}, .failure = step.failure};
  if (step.noList) return {};
  return {.list = ParseChecksumListBytes(std::move(bytes), win::Utf8FromAnsiMarked,
                                         ExtractFileName(path, IsNeverLeadByte))};
}

bool LoadChecksumList(const std::string& path, std::string& bytes) {
  const Step step = Load(path, bytes);
  return step.failure == THashFailure::None && !step.noList;
}
