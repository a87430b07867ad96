// Times one verification run of ruvo.exe from outside. A verification run does not end by itself:
// its window stays open with the results. This helper starts the program with the given command
// line, watches its windows until one carries the result caption (" - Compare - " without
// "Wait"), which the program sets only after every list has been verified, notes the time, closes
// that window with WM_CLOSE and waits for the program to end.
//   verify_waiter RUVO_EXE [ARGUMENTS...]   prints the seconds from start to the result caption
//   verify_waiter --exit EXE [ARGUMENTS...] prints the seconds from start to the end of EXE
// The watching reads window captions through the window manager only, never sending the program
// a message, so it does not slow the run; it looks every 2 ms.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "process_window.h"
#include "timed_child.h"

int main(int argc, char** argv) {
  int first = 1;
  const bool untilExit = argc > 1 && std::string(argv[1]) == "--exit";
  if (untilExit) ++first;
  if (argc <= first) {
    std::fprintf(stderr, "usage: verify_waiter [--exit] EXE [ARGUMENTS...]\n");
    return 2;
  }
  const TimedChild child(argc, argv, first);
  if (!child.Started()) return 2;

  if (untilExit) {
    WaitForSingleObject(child.Process(), INFINITE);
    std::printf("%.4f\n", child.Seconds());
    return 0;
  }

  HWND found = nullptr;
  constexpr DWORD kLimitMs = 600000;
  const ULONGLONG deadline = GetTickCount64() + kLimitMs;
  for (;;) {
    found = FindProcessWindow(child.Id(), IsVerificationResult);
    if (found != nullptr) break;
    if (WaitForSingleObject(child.Process(), 2) == WAIT_OBJECT_0 || GetTickCount64() > deadline) {
      std::fprintf(stderr, "verify_waiter: the program ended or timed out without a result caption\n");
      TerminateProcess(child.Process(), 1);
      return 1;
    }
  }
  const double seconds = child.Seconds();
  PostMessageW(found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(child.Process(), 60000) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "verify_waiter: the program did not end after WM_CLOSE\n");
    TerminateProcess(child.Process(), 1);
    return 1;
  }
  std::printf("%.4f\n", seconds);
  return 0;
}
