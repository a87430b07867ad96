// Hashing speeds: each CRC variant, the production paths, zlib's crc32() and OpenSSL's MD5 as
// references, on one hot 64 KiB block (the size HashFile reads) and on a 256 MiB buffer that no
// cache holds. Prints GB/s (10^9 bytes per second of this thread's CPU time, so other work on a
// shared machine counts less; best of several short runs, all rows measured in turn several
// times) and the goal ratios; exits 1 when a goal is missed.
#include <openssl/md5.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "core/crc.h"
#include "core/md5.h"

namespace {

using THashRun = std::function<std::uint32_t(const std::uint8_t* data, std::size_t count)>;

constexpr std::size_t kHotBlock = 64 * 1024;
constexpr std::size_t kBigBuffer = 256u * 1024 * 1024;

constexpr std::size_t kBytesPerClockRead = 16u * 1024 * 1024;

volatile std::uint32_t sink;

double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Best throughput over `rounds` runs, each hashing the buffer whole as often as fits in
// `minSeconds`.
double MeasureGBs(const THashRun& run, const std::vector<std::uint8_t>& buffer, double minSeconds, int rounds) {
  double best = 0;
  for (int round = 0; round < rounds; ++round) {
    std::size_t bytes = 0;
    std::uint32_t acc = 0;
    const double start = ThreadSeconds();
    double seconds = 0;
    do {
      // Reading the thread clock is a system call: read it once per 16 MiB or so.
      for (std::size_t n = 0; n < kBytesPerClockRead; n += buffer.size()) {
        acc ^= run(buffer.data(), buffer.size());
        bytes += buffer.size();
      }
      seconds = ThreadSeconds() - start;
    } while (seconds < minSeconds);
    sink = acc;
    best = std::max(best, static_cast<double>(bytes) / seconds / 1e9);
  }
  return best;
}

struct TRow {
  std::string Name;
  THashRun Run;
  double Hot = 0;
  double Big = 0;
};

THashRun Crc16Run(TCrc16Fn fn) {
  return [fn](const std::uint8_t* d, std::size_t n) { return std::uint32_t{fn(0xFFFF, d, n)}; };
}

THashRun Crc32Run(TCrc32Fn fn) {
  return [fn](const std::uint8_t* d, std::size_t n) { return fn(0xFFFFFFFF, d, n); };
}

// The digests stream over the whole run, as HashFile feeds one file block after block.
std::uint32_t OurMd5(const std::uint8_t* d, std::size_t n) {
  TMD5Context context;
  MD5Init(context);
  for (std::size_t pos = 0; pos < n; pos += kHotBlock)
    MD5Update(context, d + pos, static_cast<std::uint32_t>(std::min(kHotBlock, n - pos)));
  TMD5Digest digest;
  MD5Final(context, digest);
  return digest[0];
}

std::uint32_t OpensslMd5(const std::uint8_t* d, std::size_t n) {
  MD5_CTX context;
  MD5_Init(&context);
  for (std::size_t pos = 0; pos < n; pos += kHotBlock) MD5_Update(&context, d + pos, std::min(kHotBlock, n - pos));
  unsigned char digest[16];
  MD5_Final(digest, &context);
  return digest[0];
}

std::uint32_t Zlib(const std::uint8_t* d, std::size_t n) {
  uLong crc = crc32(0, nullptr, 0);
  for (std::size_t pos = 0; pos < n; pos += kHotBlock)
    crc = crc32(crc, d + pos, static_cast<uInt>(std::min(kHotBlock, n - pos)));
  return static_cast<std::uint32_t>(crc);
}

const TRow* Find(const std::vector<TRow>& rows, const std::string& name) {
  for (const auto& row : rows)
    if (row.Name == name) return &row;
  return nullptr;
}

}  // namespace

int main() {
  BuildCrc16Table();
  std::vector<std::uint8_t> big(kBigBuffer);
  std::uint64_t x = 0x9E3779B97F4A7C15u;
  for (auto& b : big) {
    x = x * 6364136223846793005u + 1442695040888963407u;
    b = static_cast<std::uint8_t>(x >> 56);
  }
  const std::vector<std::uint8_t> hot(big.begin(), big.begin() + kHotBlock);

  std::vector<TRow> rows;
  rows.push_back({"crc16 reference", Crc16Run(Crc16UpdateReference)});
  for (const auto& v : CrcVariants()) rows.push_back({std::string("crc16 ") + v.Name, Crc16Run(v.Crc16)});
  rows.push_back({"crc16 production", Crc16Run(Crc16Update)});
  rows.push_back({"crc32 reference", Crc32Run(Crc32UpdateReference)});
  for (const auto& v : CrcVariants()) rows.push_back({std::string("crc32 ") + v.Name, Crc32Run(v.Crc32)});
  rows.push_back({"crc32 production", Crc32Run(Crc32Update)});
  rows.push_back({"zlib crc32", Zlib});
  rows.push_back({"md5 ruvo", OurMd5});
  rows.push_back({"md5 openssl", OpensslMd5});

  std::printf("Hashing speed in GB/s (best of runs); production path: %s\n", CrcChosenVariant().Name);
  constexpr int kPasses = 3;
  for (int pass = 0; pass < kPasses; ++pass) {
    for (auto& row : rows) {
      row.Hot = std::max(row.Hot, MeasureGBs(row.Run, hot, 0.02, 5));
      row.Big = std::max(row.Big, MeasureGBs(row.Run, big, 0.1, 2));
    }
  }
  std::printf("%-20s %12s %12s\n", "", "64 KiB hot", "256 MiB");
  for (const auto& row : rows) std::printf("%-20s %12.2f %12.2f\n", row.Name.c_str(), row.Hot, row.Big);

  int missed = 0;
  auto goal = [&](const std::string& what, const char* a, const char* b, double atLeast) {
    const TRow* ra = Find(rows, a);
    const TRow* rb = Find(rows, b);
    if (!ra || !rb) {
      std::printf("  %-44s  not on this CPU\n", what.c_str());
      return;
    }
    const double ratio = ra->Hot / rb->Hot;
    const bool met = ratio >= atLeast;
    missed += met ? 0 : 1;
    std::printf("  %-44s %6.2fx (goal >= %.2fx, 256 MiB %5.2fx)  %s\n", what.c_str(), ratio, atLeast, ra->Big / rb->Big,
                met ? "met" : "MISSED");
  };
  std::printf("Goals on the hot block:\n");
  goal("crc32 clmul / zlib", "crc32 clmul", "zlib crc32", 5.0);
  goal("crc32 vpclmul / zlib", "crc32 vpclmul", "zlib crc32", 15.0);
  goal("crc32 production / zlib", "crc32 production", "zlib crc32", 5.0);
  for (const char* path : {"slice16", "clmul", "vpclmul", "production"})
    goal(std::string("crc16 ") + path + " / crc32 " + path, (std::string("crc16 ") + path).c_str(),
         (std::string("crc32 ") + path).c_str(), 0.9);
  goal("md5 ruvo / openssl", "md5 ruvo", "md5 openssl", 1.0);
  std::printf("%d goal(s) missed\n", missed);
  return missed == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
