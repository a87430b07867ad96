// The bare read loop that the creation benchmarks compare against: opens each file, reads it in
// blocks of 64 KiB into one buffer, closes it; nothing is computed. Arguments are files or folders
// (a folder stands for its files, as a dropped folder does for the creation window). Prints the
// file count and the byte count, so a run can be checked against the program's list.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD kBlockSize = 65536;

// This helper builds alone, outside the program's libraries, so it carries its own small owner.
struct Closer {
  HANDLE handle;
  BOOL (*close)(HANDLE);
  ~Closer() { close(handle); }
};

struct Totals {
  std::uint64_t files = 0;
  std::uint64_t bytes = 0;
};

void ReadWhole(const std::string& path, std::vector<char>& buffer, Totals& totals) {
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const Closer closer{file, CloseHandle};
  DWORD got = 0;
  do {
    if (!ReadFile(file, buffer.data(), kBlockSize, &got, nullptr)) got = 0;
    totals.bytes += got;
  } while (got == kBlockSize);
  ++totals.files;
}

void ReadFolder(const std::string& folder, std::vector<char>& buffer, Totals& totals) {
  const std::string base = folder.back() == '\\' ? folder : folder + "\\";
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((base + "*.*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  const Closer closer{find, FindClose};
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      ReadWhole(base + entry.cFileName, buffer, totals);
    }
  } while (FindNextFileA(find, &entry));
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<char> buffer(kBlockSize);
  Totals totals;
  for (int i = 1; i < argc; ++i) {
    const std::string path = argv[i];
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      ReadFolder(path, buffer, totals);
    } else {
      ReadWhole(path, buffer, totals);
    }
  }
  std::printf("%llu files %llu bytes\n", static_cast<unsigned long long>(totals.files),
              static_cast<unsigned long long>(totals.bytes));
  return totals.files > 0 ? 0 : 1;
}
