#include "core/blake3.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "core/cpu_features.h"
#include "core/hex.h"

namespace {

// The published test inputs: byte i is i mod 251.
std::vector<std::uint8_t> Pattern(std::size_t length, std::size_t offset = 0) {
  std::vector<std::uint8_t> bytes(offset + length);
  for (std::size_t i = 0; i < length; ++i) bytes[offset + i] = static_cast<std::uint8_t>(i % 251);
  return bytes;
}

struct TPath {
  const char* Name;
  TBlake3ChunksFn Chunks;
};

// The portable path and every SIMD path this processor runs.
std::vector<TPath> Paths() {
  std::vector<TPath> paths{{"portable", Blake3ChunksPortable}};
#if defined(__x86_64__)
  const TCpuFeatures& cpu = CpuFeatures();
  if (cpu.Sse41) paths.push_back({"sse4.1", Blake3ChunksSse41});
  if (cpu.Avx2) paths.push_back({"avx2", Blake3ChunksAvx2});
  if (cpu.Avx512) paths.push_back({"avx-512", Blake3ChunksAvx512});
#endif
  return paths;
}

std::string LowerHex(const TBlake3Digest& digest) {
  std::string hex = HexUpperBytes(digest.data(), digest.size());
  std::transform(hex.begin(), hex.end(), hex.begin(), [](char c) { return c >= 'A' && c <= 'F' ? c - 'A' + 'a' : c; });
  return hex;
}

// The input fed in pieces of `piece` bytes (0: at once) through the path, as lower-case hex.
std::string Blake3Hex(const std::uint8_t* bytes, std::size_t size, TBlake3ChunksFn chunks, std::size_t piece = 0) {
  TBlake3Context context;
  Blake3Init(context, 0, chunks);
  if (piece == 0) piece = std::max<std::size_t>(size, 1);
  for (std::size_t at = 0; at < size; at += piece) Blake3Update(context, bytes + at, std::min(piece, size - at));
  TBlake3Digest digest;
  Blake3Final(context, digest);
  return LowerHex(digest);
}

// Digests written by b3sum 1.2.0 of each published input length.
struct TVector {
  std::size_t Length;
  const char* Hex;
};
constexpr TVector kVectors[] = {
    {0, "af1349b9f5f9a1a6a0404dea36dcc9499bcb25c9adc112b7cc9a93cae41f3262"},
    {1, "2d3adedff11b61f14c886e35afa036736dcd87a74d27b5c1510225d0f592e213"},
    {1023, "10108970eeda3eb932baac1428c7a2163b0e924c9a9e25b35bba72b28f70bd11"},
    {1024, "42214739f095a406f3fc83deb889744ac00df831c10daa55189b5d121c855af7"},
    {1025, "d00278ae47eb27b34faecf67b4fe263f82d5412916c1ffd97c8cb7fb814b8444"},
    {2048, "e776b6028c7cd22a4d0ba182a8bf62205d2ef576467e838ed6f2529b85fba24a"},
    {2049, "5f4d72f40d7a5f82b15ca2b2e44b1de3c2ef86c426c95c1af0b6879522563030"},
    {3072, "b98cb0ff3623be03326b373de6b9095218513e64f1ee2edd2525c7ad1e5cffd2"},
    {3073, "7124b49501012f81cc7f11ca069ec9226cecb8a2c850cfe644e327d22d3e1cd3"},
    {4096, "015094013f57a5277b59d8475c0501042c0b642e531b0a1c8f58d2163229e969"},
    {4097, "9b4052b38f1c5fc8b1f9ff7ac7b27cd242487b3d890d15c96a1c25b8aa0fb995"},
    {5120, "9cadc15fed8b5d854562b26a9536d9707cadeda9b143978f319ab34230535833"},
    {5121, "628bd2cb2004694adaab7bbd778a25df25c47b9d4155a55f8fbd79f2fe154cff"},
    {6144, "3e2e5b74e048f3add6d21faab3f83aa44d3b2278afb83b80b3c35164ebeca205"},
    {6145, "f1323a8631446cc50536a9f705ee5cb619424d46887f3c376c695b70e0f0507f"},
    {7168, "61da957ec2499a95d6b8023e2b0e604ec7f6b50e80a9678b89d2628e99ada77a"},
    {7169, "a003fc7a51754a9b3c7fae0367ab3d782dccf28855a03d435f8cfe74605e7817"},
    {8192, "aae792484c8efe4f19e2ca7d371d8c467ffb10748d8a5a1ae579948f718a2a63"},
    {8193, "bab6c09cb8ce8cf459261398d2e7aef35700bf488116ceb94a36d0f5f1b7bc3b"},
    {16384, "f875d6646de28985646f34ee13be9a576fd515f76b5b0a26bb324735041ddde4"},
    {31744, "62b6960e1a44bcc1eb1a611a8d6235b6b4b78f32e7abc4fb4c6cdcce94895c47"},
    {102400, "bc3e3d41a1146b069abffad3c0d44860cf664390afce4d9661f7902e7943e085"},
};

TEST(Blake3, PublishedInputsOnEveryPathInAnyPieces) {
  for (const TPath& path : Paths()) {
    for (const TVector& vector : kVectors) {
      const std::vector<std::uint8_t> input = Pattern(vector.Length);
      for (const std::size_t piece : {std::size_t{0}, std::size_t{1}, std::size_t{63}, std::size_t{64},
                                      std::size_t{1000}, std::size_t{1024}, std::size_t{4097}}) {
        EXPECT_EQ(Blake3Hex(input.data(), input.size(), path.Chunks, piece), vector.Hex)
            << path.Name << ", " << vector.Length << " bytes in pieces of " << piece;
      }
    }
  }
}

TEST(Blake3, ChosenPathGivesTheReferenceDigest) {
  const std::vector<std::uint8_t> input = Pattern(102400);
  TBlake3Context context;
  Blake3Init(context);
  Blake3Update(context, input.data(), input.size());
  TBlake3Digest digest;
  Blake3Final(context, digest);
  EXPECT_EQ(LowerHex(digest), kVectors[std::size(kVectors) - 1].Hex);
}

// Every SIMD path gives the portable path's chaining values for any number of chunks, at any
// alignment, and with chunk numbers that carry into the counter's upper word.
TEST(Blake3, SimdChunksEqualPortableAtEveryCountAndAlignment) {
  const std::vector<std::uint8_t> input = Pattern(40 * kBlake3ChunkBytes + 64);
  for (const TPath& path : Paths()) {
    for (std::size_t count = 1; count <= 40; ++count) {
      for (std::size_t offset : {0, 1, 63}) {
        for (std::uint64_t counter : {std::uint64_t{0}, std::uint64_t{0xFFFFFFFA}}) {
          std::vector<TBlake3Cv> expected(count), got(count);
          Blake3ChunksPortable(input.data() + offset, count, counter, expected.data());
          path.Chunks(input.data() + offset, count, counter, got.data());
          EXPECT_EQ(got, expected) << path.Name << ", " << count << " chunks at offset " << offset << ", counter "
                                   << counter;
        }
      }
    }
  }
}

// Every path at the lengths around every whole number of chunks up to 34 and a block, and some
// between, at two alignments: the SIMD paths take whole chunks only.
TEST(Blake3, SimdDigestsEqualPortableAtEveryLength) {
  const std::size_t most = 34 * kBlake3ChunkBytes + 65;
  const std::vector<std::uint8_t> input = Pattern(most, 3);
  for (const TPath& path : Paths()) {
    if (path.Chunks == Blake3ChunksPortable) continue;
    std::vector<std::size_t> lengths;
    for (std::size_t length = 0; length <= most; length += 97) lengths.push_back(length);
    for (std::size_t chunks = 1; chunks * kBlake3ChunkBytes + 1 <= most; ++chunks) {
      for (const std::size_t length :
           {chunks * kBlake3ChunkBytes - 1, chunks * kBlake3ChunkBytes, chunks * kBlake3ChunkBytes + 1}) {
        lengths.push_back(length);
      }
    }
    for (const std::size_t length : lengths) {
      for (std::size_t offset : {0, 3}) {
        ASSERT_EQ(Blake3Hex(input.data() + offset, length, path.Chunks),
                  Blake3Hex(input.data() + offset, length, Blake3ChunksPortable))
            << path.Name << ", " << length << " bytes at offset " << offset;
      }
    }
  }
}

// An input hashed as its subtrees, each from its own context, joined at the root.
std::string SplitHex(const std::vector<std::uint8_t>& input, unsigned workers) {
  const std::uint64_t subtree = Blake3SubtreeBytes(input.size(), workers);
  if (input.size() <= subtree) return Blake3Hex(input.data(), input.size(), Blake3ChosenChunks());
  std::vector<TBlake3Cv> cvs;
  for (std::uint64_t at = 0; at < input.size(); at += subtree) {
    TBlake3Context context;
    Blake3Init(context, at / kBlake3ChunkBytes);
    Blake3Update(context, input.data() + at, std::min<std::uint64_t>(subtree, input.size() - at));
    cvs.push_back(Blake3FinalCv(context));
  }
  TBlake3Digest digest;
  Blake3JoinSubtrees(cvs, digest);
  return LowerHex(digest);
}

TEST(Blake3, SubtreesJoinedEqualTheWholeAroundEveryPowerOfTwoOfChunks) {
  for (std::size_t chunks = 1; chunks <= 1024; chunks *= 2) {
    for (const std::size_t size : {chunks * kBlake3ChunkBytes - 1, chunks * kBlake3ChunkBytes,
                                   chunks * kBlake3ChunkBytes + 1, 3 * chunks * kBlake3ChunkBytes + 1}) {
      const std::vector<std::uint8_t> input = Pattern(size);
      const std::string whole = Blake3Hex(input.data(), input.size(), Blake3ChosenChunks());
      for (const unsigned workers : {1u, 2u, 3u, 8u}) {
        EXPECT_EQ(SplitHex(input, workers), whole) << size << " bytes, " << workers << " workers";
      }
    }
  }
}

TEST(Blake3, SubtreesAreWholePowersOfTwoOfChunksAndFewPerWorker) {
  struct TCase {
    std::uint64_t Size;
    unsigned Workers;
    std::uint64_t Bytes;
  };
  const TCase cases[] = {
      {0, 1, 1024},
      {1024, 8, 1024},
      {4096, 1, 1024},
      {4097, 1, 2048},
      {16u << 20, 2, 2u << 20},
      {(16u << 20) + 1, 2, 4u << 20},
      {1ull << 30, 3, 128u << 20},
      {1ull << 30, 8, 32u << 20},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(Blake3SubtreeBytes(c.Size, c.Workers), c.Bytes) << c.Size << " bytes, " << c.Workers << " workers";
  }
}

TEST(Blake3, FinalWipesTheContext) {
  TBlake3Context context;
  Blake3Init(context);
  Blake3Update(context, "abc", 3);
  TBlake3Digest digest;
  Blake3Final(context, digest);
  const auto* raw = reinterpret_cast<const std::uint8_t*>(&context);
  EXPECT_TRUE(std::all_of(raw, raw + sizeof context, [](std::uint8_t b) { return b == 0; }));
}

}  // namespace
