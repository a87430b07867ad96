// Hashing speeds: each CRC variant, the portable SHA paths, the production paths, zlib's crc32()
// and OpenSSL's MD5, SHA-1, SHA-256 and SHA-512 as references, on one hot 64 KiB block (the size
// HashFile reads) and on a 256 MiB buffer that no cache holds. Prints GB/s (10^9 bytes per second
// of this thread's CPU time, so other work on a shared machine counts less; best of several short
// runs, all rows measured in turn several times) and the goal ratios; exits 1 when a goal is
// missed.
#include <openssl/md5.h>
#include <openssl/sha.h>
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
#include "core/sha.h"

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
template <typename TFeed>
void FeedBlocks(const std::uint8_t* d, std::size_t n, TFeed feed) {
  for (std::size_t pos = 0; pos < n; pos += kHotBlock) feed(d + pos, std::min(kHotBlock, n - pos));
}

std::uint32_t OurMd5(const std::uint8_t* d, std::size_t n) {
  TMD5Context context;
  MD5Init(context);
  FeedBlocks(d, n, [&](const std::uint8_t* p, std::size_t count) {
    MD5Update(context, p, static_cast<std::uint32_t>(count));
  });
  TMD5Digest digest;
  MD5Final(context, digest);
  return digest[0];
}

// One of our SHA hashes through the given compression path.
template <typename TContext, typename TDigest, void (*Init)(TContext&, typename TContext::TBlocksFn),
          void (*Update)(TContext&, const void*, std::size_t), void (*Final)(TContext&, TDigest&)>
THashRun OurSha(typename TContext::TBlocksFn blocks) {
  return [blocks](const std::uint8_t* d, std::size_t n) {
    TContext context;
    Init(context, blocks);
    FeedBlocks(d, n, [&](const std::uint8_t* p, std::size_t count) { Update(context, p, count); });
    TDigest digest;
    Final(context, digest);
    return std::uint32_t{digest[0]};
  };
}

constexpr auto OurSha1 = OurSha<TSha1Context, TSha1Digest, Sha1Init, Sha1Update, Sha1Final>;
constexpr auto OurSha256 = OurSha<TSha256Context, TSha256Digest, Sha256Init, Sha256Update, Sha256Final>;
constexpr auto OurSha512 = OurSha<TSha512Context, TSha512Digest, Sha512Init, Sha512Update, Sha512Final>;

template <typename TContext, int (*Init)(TContext*), int (*Update)(TContext*, const void*, std::size_t),
          int (*Final)(unsigned char*, TContext*), std::size_t DigestBytes>
std::uint32_t Openssl(const std::uint8_t* d, std::size_t n) {
  TContext context;
  Init(&context);
  FeedBlocks(d, n, [&](const std::uint8_t* p, std::size_t count) { Update(&context, p, count); });
  unsigned char digest[DigestBytes];
  Final(digest, &context);
  return digest[0];
}

std::uint32_t Zlib(const std::uint8_t* d, std::size_t n) {
  uLong crc = crc32(0, nullptr, 0);
  FeedBlocks(d, n, [&](const std::uint8_t* p, std::size_t count) { crc = crc32(crc, p, static_cast<uInt>(count)); });
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
  rows.push_back({"md5 openssl", Openssl<MD5_CTX, MD5_Init, MD5_Update, MD5_Final, 16>});
  rows.push_back({"sha1 portable", OurSha1(Sha1BlocksPortable)});
  rows.push_back({"sha1 production", OurSha1(Sha1ChosenBlocks())});
  rows.push_back({"sha1 openssl", Openssl<SHA_CTX, SHA1_Init, SHA1_Update, SHA1_Final, 20>});
  rows.push_back({"sha256 portable", OurSha256(Sha256BlocksPortable)});
  rows.push_back({"sha256 production", OurSha256(Sha256ChosenBlocks())});
  rows.push_back({"sha256 openssl", Openssl<SHA256_CTX, SHA256_Init, SHA256_Update, SHA256_Final, 32>});
  rows.push_back({"sha512 portable", OurSha512(Sha512BlocksPortable)});
  rows.push_back({"sha512 production", OurSha512(Sha512ChosenBlocks())});
  rows.push_back({"sha512 openssl", Openssl<SHA512_CTX, SHA512_Init, SHA512_Update, SHA512_Final, 64>});

  std::printf("Hashing speed in GB/s (best of runs); production paths: CRC %s, SHA-1 and SHA-256 %s, SHA-512 %s\n",
              CrcChosenVariant().Name, Sha256ChosenBlocks() == Sha256BlocksPortable ? "portable" : "SHA extensions",
              Sha512ChosenBlocks() == Sha512BlocksPortable ? "portable" : "AVX2");
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
  goal("sha1 production / openssl", "sha1 production", "sha1 openssl", 1.0);
  goal("sha256 production / openssl", "sha256 production", "sha256 openssl", 1.0);
  goal("sha512 production / openssl", "sha512 production", "sha512 openssl", 0.9);
  std::printf("%d goal(s) missed\n", missed);
  return missed == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
