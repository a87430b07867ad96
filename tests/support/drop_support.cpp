#include "support/drop_support.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "ui/application.h"

namespace droptest {

HGLOBAL MakeDropBlock(const std::vector<std::string>& files, POINT pt) {
  std::size_t bytes = sizeof(DROPFILES) + 1;  // the zero that closes the list
  for (const std::string& file : files) bytes += file.size() + 1;
  if (files.empty()) bytes += 1;  // an empty list is still two zeros

  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  if (block == nullptr) return nullptr;
  auto* base = static_cast<char*>(GlobalLock(block));
  if (base == nullptr) {
    GlobalFree(block);
    return nullptr;
  }
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  header.pt = pt;
  header.fNC = FALSE;  // the point is in client coordinates
  header.fWide = FALSE;
  std::memcpy(base, &header, sizeof header);
  char* name = base + sizeof(DROPFILES);
  for (const std::string& file : files) {
    std::memcpy(name, file.data(), file.size());
    name += file.size() + 1;  // the terminating zero comes from GMEM_ZEROINIT
  }
  GlobalUnlock(block);
  return block;
}

HGLOBAL PostDrop(HWND window, const std::vector<std::string>& files, POINT pt) {
  HGLOBAL block = MakeDropBlock(files, pt);
  if (block == nullptr) return nullptr;
  if (!PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0)) {
    GlobalFree(block);
    return nullptr;
  }
  return block;
}

bool DropBlockAlive(HGLOBAL block) { return GlobalFlags(block) != GMEM_INVALID_HANDLE; }

void PumpMessages() { ui::App().ProcessMessages(); }

bool DropFiles(HWND window, const std::vector<std::string>& files, POINT pt) {
  HGLOBAL block = PostDrop(window, files, pt);
  if (block == nullptr) return false;
  // The whole handler runs inside one dispatch; a few rounds cover messages posted on the way.
  for (int round = 0; round < 100 && DropBlockAlive(block); ++round) {
    PumpMessages();
    if (DropBlockAlive(block)) Sleep(1);
  }
  return !DropBlockAlive(block);
}

}  // namespace droptest
