// Times how long ruvo.exe takes to fill a verification page, from outside, and holds the program
// there for a look at its memory. It starts the program with the given command line, asks every
// list view of the program's windows for its row count every 5 ms until one holds ROWS rows,
// prints the seconds since the start, then waits for a line on its input (the benchmark reads the
// process's peak memory meanwhile) and ends the program.
//   fill_waiter ROWS RUVO_EXE [ARGUMENTS...]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "timed_child.h"

namespace {

struct Search {
  DWORD processId;
  LRESULT rows;
  bool filled = false;
};

BOOL CALLBACK CountRows(HWND child, LPARAM data) {
  auto& search = *reinterpret_cast<Search*>(data);
  wchar_t name[64] = {};
  GetClassNameW(child, name, 64);
  if (std::wstring(name) != L"SysListView32") return TRUE;
  // No pointer travels with this message, so it works across processes; it waits while the
  // program's thread is busy, which is when the page is being filled anyway.
  DWORD_PTR count = 0;
  if (SendMessageTimeoutW(child, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 60000, &count) &&
      static_cast<LRESULT>(count) >= search.rows) {
    search.filled = true;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK SearchWindow(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<Search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search.processId) EnumChildWindows(window, CountRows, data);
  return search.filled ? FALSE : TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: fill_waiter ROWS RUVO_EXE [ARGUMENTS...]\n");
    return 2;
  }
  Search search{0, std::atoll(argv[1])};
  const TimedChild child(argc, argv, 2);
  if (!child.Started()) return 2;
  search.processId = child.Id();

  const ULONGLONG deadline = GetTickCount64() + 600000;
  while (!search.filled) {
    EnumWindows(SearchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.filled) break;
    if (WaitForSingleObject(child.Process(), 5) == WAIT_OBJECT_0 || GetTickCount64() > deadline) {
      std::fprintf(stderr, "fill_waiter: the program ended or timed out before its page was filled\n");
      TerminateProcess(child.Process(), 1);
      return 1;
    }
  }
  std::printf("%.4f\n", child.Seconds());
  std::fflush(stdout);
  char line[16];
  std::fgets(line, sizeof line, stdin);
  TerminateProcess(child.Process(), 0);
  WaitForSingleObject(child.Process(), 60000);
  return 0;
}
