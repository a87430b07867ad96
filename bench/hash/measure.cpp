#include "hash/measure.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <ctime>
#endif

namespace {

volatile std::uint32_t sink;

#if defined(_WIN32)
// Under Wine a thread's CPU time (GetThreadTimes, or clock_gettime over it) advances in 10 ms steps
// and each reading is a round trip to the Wine server, so the Windows build times wall clock: a
// 100 ns counter, read cheaply. Wall time counts whatever else runs on the machine, so a round is
// split into many short ones, the clock read every 1 MiB: some of them nothing interrupted.
constexpr int kRoundSplit = 20;
constexpr std::size_t kBytesPerClockRead = 1024 * 1024;

double Seconds() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / frequency;
}
#else
// Reading the thread clock is a system call: read it once per 16 MiB or so.
constexpr int kRoundSplit = 1;
constexpr std::size_t kBytesPerClockRead = 16u * 1024 * 1024;

double Seconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}
#endif

}  // namespace

double MeasureGBs(const THashRun& run, const std::vector<std::uint8_t>& buffer, double minSeconds, int rounds) {
  double best = 0;
  double spent = 0;
  for (int round = 0; round < rounds || spent < rounds * minSeconds; ++round) {
    std::size_t bytes = 0;
    std::uint32_t acc = 0;
    const double start = Seconds();
    double seconds = 0;
    do {
      for (std::size_t n = 0; n < kBytesPerClockRead; n += buffer.size()) {
        acc ^= run(buffer.data(), buffer.size());
        bytes += buffer.size();
      }
      seconds = Seconds() - start;
    } while (seconds < minSeconds / kRoundSplit);
    sink = acc;
    spent += seconds;
    best = std::max(best, static_cast<double>(bytes) / seconds / 1e9);
  }
  return best;
}

const char* ClockName() {
#if defined(_WIN32)
  return "wall time";
#else
  return "this thread's CPU time";
#endif
}

const char* BuildName() {
#if defined(_WIN32)
  return "Windows build";
#else
  return "native build";
#endif
}

const TRow* Find(const std::vector<TRow>& rows, const std::string& name) {
  for (const auto& row : rows)
    if (row.Name == name) return &row;
  return nullptr;
}
