#pragma once
// What the hashing benchmark's rows are and how one is timed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using THashRun = std::function<std::uint32_t(const std::uint8_t* data, std::size_t count)>;

struct TRow {
  std::string Name;
  THashRun Run;
  double Hot = 0;  // GB/s on the hot block
  double Big = 0;  // GB/s on the big buffer
};

// The block size HashFile reads.
constexpr std::size_t kHotBlock = 64 * 1024;

// The digests stream over the whole run, as HashFile feeds one file block after block.
template <typename TFeed>
void FeedBlocks(const std::uint8_t* d, std::size_t n, TFeed feed) {
  for (std::size_t pos = 0; pos < n; pos += kHotBlock) feed(d + pos, std::min(kHotBlock, n - pos));
}

// Best throughput in GB/s over at least `rounds` runs and `rounds * minSeconds` in all, each run
// hashing the buffer whole as often as fits in `minSeconds` (in the Windows build, in a twentieth
// of it: see measure.cpp).
double MeasureGBs(const THashRun& run, const std::vector<std::uint8_t>& buffer, double minSeconds, int rounds);

// What the seconds are, and what this program was built as ("Windows build", "native build").
const char* ClockName();
const char* BuildName();

// The row of that name, or null.
const TRow* Find(const std::vector<TRow>& rows, const std::string& name);
