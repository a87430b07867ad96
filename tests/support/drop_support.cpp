#include "support/drop_support.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

#include "support/wide_path.h"
#include "ui/application.h"

namespace droptest {

HGLOBAL MakeDropBlock(const std::vector<std::string>& files, POINT pt) {
  std::vector<std::wstring> names;
  for (const std::string& file : files) names.push_back(W(file));
  std::size_t bytes = sizeof(DROPFILES) + sizeof(wchar_t);  // the zero that closes the list
  for (const std::wstring& name : names) bytes += (name.size() + 1) * sizeof(wchar_t);
  if (files.empty()) bytes += sizeof(wchar_t);  // an empty list is still two zeros

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
  header.fWide = TRUE;
  std::memcpy(base, &header, sizeof header);
  char* at = base + sizeof(DROPFILES);
  for (const std::wstring& name : names) {
    std::memcpy(at, name.data(), name.size() * sizeof(wchar_t));
    at += (name.size() + 1) * sizeof(wchar_t);  // the terminating zero comes from GMEM_ZEROINIT
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
