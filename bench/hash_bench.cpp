// Hashing speeds: each CRC variant, the portable SHA paths, the production paths and, where the
// build has them, zlib's crc32() and OpenSSL's MD5, SHA-1, SHA-256 and SHA-512 as references, on
// one hot 64 KiB block (the size HashFile reads) and on a 256 MiB buffer that no cache holds.
// Prints GB/s (10^9 bytes per second of this thread's CPU time natively, so other work on a shared
// machine counts less; of wall time in the Windows build, see hash/measure.cpp; best of several
// short runs, all rows measured in turn several times) and the goal ratios; exits 1 when a goal is
// missed.
//   hash_bench                  the table and the goals
//   hash_bench --native FILE    also each kind's speed against the native build's table in FILE
//                               (what the native hash_bench printed), with the Windows build's goal
//   hash_bench --rows PREFIX    only the rows whose names begin with PREFIX, without goals
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "core/blake3.h"
#include "core/cpu_features.h"
#include "core/crc.h"
#include "core/md5.h"
#include "core/sha.h"
#include "hash/measure.h"
#include "hash/references.h"
#include "hash/table.h"

namespace {

constexpr std::size_t kBigBuffer = 256u * 1024 * 1024;

THashRun Crc16Run(TCrc16Fn fn) {
  return [fn](const std::uint8_t* d, std::size_t n) { return std::uint32_t{fn(0xFFFF, d, n)}; };
}

THashRun Crc32Run(TCrc32Fn fn) {
  return [fn](const std::uint8_t* d, std::size_t n) { return fn(0xFFFFFFFF, d, n); };
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

THashRun OurBlake3(TBlake3ChunksFn chunks) {
  return [chunks](const std::uint8_t* d, std::size_t n) {
    TBlake3Context context;
    Blake3Init(context, 0, chunks);
    FeedBlocks(d, n, [&](const std::uint8_t* p, std::size_t count) { Blake3Update(context, p, count); });
    TBlake3Digest digest;
    Blake3Final(context, digest);
    return std::uint32_t{digest[0]};
  };
}

// The production path of each kind: what the Windows build must run as fast as the native one.
constexpr const char* kProductionRows[] = {"crc16 production", "crc32 production",  "md5 ruvo",
                                           "sha1 production",  "sha256 production", "sha512 production",
                                           "blake3 production"};

std::vector<TRow> Rows() {
  std::vector<TRow> rows;
  rows.push_back({"crc16 reference", Crc16Run(Crc16UpdateReference)});
  for (const auto& v : CrcVariants()) rows.push_back({std::string("crc16 ") + v.Name, Crc16Run(v.Crc16)});
  rows.push_back({"crc16 production", Crc16Run(Crc16Update)});
  rows.push_back({"crc32 reference", Crc32Run(Crc32UpdateReference)});
  for (const auto& v : CrcVariants()) rows.push_back({std::string("crc32 ") + v.Name, Crc32Run(v.Crc32)});
  rows.push_back({"crc32 production", Crc32Run(Crc32Update)});
  AddReference(rows, "zlib crc32");
  rows.push_back({"md5 ruvo", OurMd5});
  AddReference(rows, "md5 openssl");
  rows.push_back({"sha1 portable", OurSha1(Sha1BlocksPortable)});
  rows.push_back({"sha1 production", OurSha1(Sha1ChosenBlocks())});
  AddReference(rows, "sha1 openssl");
  rows.push_back({"sha256 portable", OurSha256(Sha256BlocksPortable)});
  rows.push_back({"sha256 production", OurSha256(Sha256ChosenBlocks())});
  AddReference(rows, "sha256 openssl");
  rows.push_back({"sha512 portable", OurSha512(Sha512BlocksPortable)});
  rows.push_back({"sha512 production", OurSha512(Sha512ChosenBlocks())});
  AddReference(rows, "sha512 openssl");
  rows.push_back({"blake3 portable", OurBlake3(Blake3ChunksPortable)});
#if defined(__x86_64__)
  if (CpuFeatures().Sse41) rows.push_back({"blake3 sse4.1", OurBlake3(Blake3ChunksSse41)});
  if (CpuFeatures().Avx2) rows.push_back({"blake3 avx2", OurBlake3(Blake3ChunksAvx2)});
  if (CpuFeatures().Avx512) rows.push_back({"blake3 avx-512", OurBlake3(Blake3ChunksAvx512)});
#endif
  rows.push_back({"blake3 production", OurBlake3(Blake3ChosenChunks())});
  return rows;
}

// Prints one goal line: the first row's speed over the second's on the hot block; false when
// missed. A row that is missing (no such path on this CPU, no such library in this build) skips it.
bool Goal(const std::string& what, const TRow* a, const TRow* b, double atLeast) {
  if (!a || !b) {
    std::printf("  %-44s  not measured here\n", what.c_str());
    return true;
  }
  const double ratio = a->Hot / b->Hot;
  const bool met = ratio >= atLeast;
  std::printf("  %-44s %6.2fx (goal >= %.2fx, 256 MiB %5.2fx)  %s\n", what.c_str(), ratio, atLeast, a->Big / b->Big,
              met ? "met" : "MISSED");
  return met;
}

// Each row that both builds measured, then the goal per kind; the count of goals missed.
int CompareWithNative(const std::vector<TRow>& rows, const std::vector<TRow>& native) {
  std::printf("%s against the native build, GB/s:\n", BuildName());
  std::printf("%-20s %12s %12s %8s %12s %12s %8s\n", "", "hot: here", "native", "ratio", "256 MiB: here", "native",
              "ratio");
  for (const auto& row : rows) {
    if (const TRow* n = Find(native, row.Name)) {
      std::printf("%-20s %12.2f %12.2f %7.2fx %12.2f %12.2f %7.2fx\n", row.Name.c_str(), row.Hot, n->Hot,
                  row.Hot / n->Hot, row.Big, n->Big, row.Big / n->Big);
    }
  }
  std::printf("Goals on the hot block:\n");
  int missed = 0;
  for (const char* name : kProductionRows) {
    missed +=
        Goal(std::string(name) + ", " + BuildName() + " / native", Find(rows, name), Find(native, name), 0.95) ? 0 : 1;
  }
  return missed;
}

}  // namespace

int main(int argc, char** argv) {
  std::optional<std::vector<TRow>> native;
  std::string onlyRows;
  if (argc == 3 && std::string(argv[1]) == "--rows") {
    onlyRows = argv[2];
  } else if (argc == 3 && std::string(argv[1]) == "--native") {
    native = ReadTable(argv[2]);
    if (!native) {
      std::fprintf(stderr, "hash_bench: no table of GB/s in %s\n", argv[2]);
      return 2;
    }
  } else if (argc != 1) {
    std::fprintf(stderr, "usage: hash_bench [--native FILE | --rows PREFIX]\n");
    return 2;
  }

  BuildCrc16Table();
  std::vector<std::uint8_t> big(kBigBuffer);
  std::uint64_t x = 0x9E3779B97F4A7C15u;
  for (auto& b : big) {
    x = x * 6364136223846793005u + 1442695040888963407u;
    b = static_cast<std::uint8_t>(x >> 56);
  }
  const std::vector<std::uint8_t> hot(big.begin(), big.begin() + kHotBlock);
  std::vector<TRow> rows = Rows();
  if (!onlyRows.empty()) std::erase_if(rows, [&](const TRow& row) { return !row.Name.starts_with(onlyRows); });

  std::printf(
      "Hashing speed in GB/s of %s (best of runs), %s; production paths: CRC %s, SHA-1 and SHA-256 %s, SHA-512 %s\n",
      ClockName(), BuildName(), CrcChosenVariant().Name,
      Sha256ChosenBlocks() == Sha256BlocksPortable ? "portable" : "SHA extensions",
      Sha512ChosenBlocks() == Sha512BlocksPortable ? "portable" : "AVX2");
  constexpr int kPasses = 3;
  for (int pass = 0; pass < kPasses; ++pass) {
    for (auto& row : rows) {
      row.Hot = std::max(row.Hot, MeasureGBs(row.Run, hot, 0.02, 5));
      row.Big = std::max(row.Big, MeasureGBs(row.Run, big, 0.1, 2));
    }
  }
  PrintTable(rows);
  if (!onlyRows.empty()) return EXIT_SUCCESS;

  int missed = 0;
  auto goal = [&](const std::string& what, const std::string& a, const std::string& b, double atLeast) {
    missed += Goal(what, Find(rows, a), Find(rows, b), atLeast) ? 0 : 1;
  };
  std::printf("Goals on the hot block:\n");
  goal("crc32 clmul / zlib", "crc32 clmul", "zlib crc32", 5.0);
  goal("crc32 vpclmul / zlib", "crc32 vpclmul", "zlib crc32", 15.0);
  goal("crc32 production / zlib", "crc32 production", "zlib crc32", 5.0);
  for (const std::string path : {"slice16", "clmul", "vpclmul", "production"})
    goal("crc16 " + path + " / crc32 " + path, "crc16 " + path, "crc32 " + path, 0.9);
  goal("md5 ruvo / openssl", "md5 ruvo", "md5 openssl", 1.0);
  goal("sha1 production / openssl", "sha1 production", "sha1 openssl", 1.0);
  goal("sha256 production / openssl", "sha256 production", "sha256 openssl", 1.0);
  goal("sha512 production / openssl", "sha512 production", "sha512 openssl", 0.9);
  if (native) missed += CompareWithNative(rows, *native);
  std::printf("%d goal(s) missed\n", missed);
  return missed == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
