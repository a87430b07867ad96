// Measures from outside how quickly ruvo.exe answers its job window during a run (while its
// caption says "Wait"). It starts the
// program with the given command line, finds the job window (a visible top-level window of that
// process whose caption begins with "Ruvo - Calc" or "Ruvo - Compare", or ends with
// " - Compare - Ruvo" or " - Compare - Wait - Ruvo"), sends it WM_NULL every 10 ms and times each round trip. It stops
// when the program ends (a creation run that saves and closes by itself) or the verification window shows its result
// caption; that window, which stays open with the results, is then closed. Prints the count of round trips and their
// median, 99th percentile and maximum in milliseconds, and the seconds from the start to the end of the run.
//   message_probe RUVO_EXE [ARGUMENTS...]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "process_window.h"
#include "timed_child.h"

namespace {

constexpr DWORD kPeriodMs = 10;
// A program that never answers still ends the probe: its run is cut off after this long.
constexpr DWORD kLimitMs = 600000;

bool StartsWith(const std::wstring& text, const std::wstring& start) { return text.rfind(start, 0) == 0; }
bool EndsWith(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// During a verification the caption names the list: "LIST - Compare - Wait - Ruvo".
bool IsJobCaption(const std::wstring& caption) {
  return StartsWith(caption, L"Ruvo - Calc") || StartsWith(caption, L"Ruvo - Compare") ||
         EndsWith(caption, L" - Compare - Ruvo") || EndsWith(caption, L" - Compare - Wait - Ruvo");
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The value at or below which the given share of the sorted delays lies (nearest rank).
double Percentile(const std::vector<double>& sorted, double share) {
  if (sorted.empty()) return 0.0;
  std::size_t rank = static_cast<std::size_t>(share * static_cast<double>(sorted.size()) + 0.999999);
  rank = std::clamp<std::size_t>(rank, 1, sorted.size());
  return sorted[rank - 1];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: message_probe RUVO_EXE [ARGUMENTS...]\n");
    return 2;
  }
  const TimedChild child(argc, argv, 1);
  if (!child.Started()) return 2;

  std::vector<double> delays;
  HWND result = nullptr;
  const ULONGLONG deadline = GetTickCount64() + kLimitMs;
  for (;;) {
    const ULONGLONG tick = GetTickCount64();
    const HWND job = FindProcessWindow(child.Id(), IsJobCaption);
    if (job != nullptr) {
      if (IsVerificationResult(WindowCaption(job))) {
        result = job;
        break;
      }
      // Only the run itself counts: its caption says "Wait" from the intake's start to its end.
      if (WindowCaption(job).find(L" - Wait") == std::wstring::npos) {
        const DWORD pause = kPeriodMs;
        if (WaitForSingleObject(child.Process(), pause) == WAIT_OBJECT_0) break;
        continue;
      }
      LARGE_INTEGER sent, answered;
      DWORD_PTR ignored = 0;
      QueryPerformanceCounter(&sent);
      // A failed send means the window went away meanwhile: no round trip to count.
      if (SendMessageTimeoutW(job, WM_NULL, 0, 0, SMTO_NORMAL, kLimitMs, &ignored) != 0) {
        QueryPerformanceCounter(&answered);
        delays.push_back(Milliseconds(sent, answered));
      }
    }
    const ULONGLONG spent = GetTickCount64() - tick;
    const DWORD wait = spent >= kPeriodMs ? 0 : static_cast<DWORD>(kPeriodMs - spent);
    if (WaitForSingleObject(child.Process(), wait) == WAIT_OBJECT_0) break;
    if (GetTickCount64() > deadline) {
      std::fprintf(stderr, "message_probe: the run did not end in time\n");
      TerminateProcess(child.Process(), 1);
      return 1;
    }
  }
  const double seconds = child.Seconds();
  if (result != nullptr) {
    PostMessageW(result, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(child.Process(), 60000) != WAIT_OBJECT_0) {
      std::fprintf(stderr, "message_probe: the program did not end after WM_CLOSE\n");
      TerminateProcess(child.Process(), 1);
      return 1;
    }
  }

  std::sort(delays.begin(), delays.end());
  std::printf("count %zu median %.1f p99 %.1f max %.1f seconds %.3f\n", delays.size(), Percentile(delays, 0.5),
              Percentile(delays, 0.99), delays.empty() ? 0.0 : delays.back(), seconds);
  return delays.empty() ? 1 : 0;
}
