#include "core/blake2b.h"

#include <cstring>

namespace {

constexpr std::size_t kBlock = sizeof(TBlake2bContext::Buffer);

// SHA-512's initial values, as BLAKE2b takes them.
constexpr std::uint64_t kInitial[8] = {0x6A09E667F3BCC908, 0xBB67AE8584CAA73B, 0x3C6EF372FE94F82B, 0xA54FF53A5F1D36F1,
                                       0x510E527FADE682D1, 0x9B05688C2B3E6C1F, 0x1F83D9ABFB41BD6B, 0x5BE0CD19137E2179};

// The order in which each round takes the message words; rounds 10 and 11 repeat rows 0 and 1.
constexpr std::uint8_t kSigma[10][16] = {
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, {14, 10, 4, 8, 9, 15, 13, 6, 1, 12, 0, 2, 11, 7, 5, 3},
    {11, 8, 12, 0, 5, 2, 15, 13, 10, 14, 3, 6, 7, 1, 9, 4}, {7, 9, 3, 1, 13, 12, 11, 14, 2, 6, 5, 10, 4, 0, 15, 8},
    {9, 0, 5, 7, 2, 4, 10, 15, 14, 1, 11, 12, 6, 8, 3, 13}, {2, 12, 6, 10, 0, 11, 8, 3, 4, 13, 7, 5, 15, 14, 1, 9},
    {12, 5, 1, 15, 14, 13, 4, 10, 0, 7, 6, 3, 9, 2, 8, 11}, {13, 11, 7, 14, 12, 1, 3, 9, 5, 0, 15, 4, 8, 6, 2, 10},
    {6, 15, 14, 9, 11, 3, 0, 8, 12, 2, 13, 7, 1, 4, 10, 5}, {10, 2, 8, 4, 7, 6, 1, 5, 15, 11, 9, 14, 3, 12, 13, 0},
};

constexpr std::uint64_t Rotr(std::uint64_t v, int n) { return v >> n | v << (64 - n); }

std::uint64_t LoadLittleEndian(const std::uint8_t* p) {
  std::uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

void Mix(std::uint64_t (&v)[16], int a, int b, int c, int d, std::uint64_t x, std::uint64_t y) {
  v[a] += v[b] + x;
  v[d] = Rotr(v[d] ^ v[a], 32);
  v[c] += v[d];
  v[b] = Rotr(v[b] ^ v[c], 24);
  v[a] += v[b] + y;
  v[d] = Rotr(v[d] ^ v[a], 16);
  v[c] += v[d];
  v[b] = Rotr(v[b] ^ v[c], 63);
}

void Compress(TBlake2bContext& context, const std::uint8_t* block, bool last) {
  std::uint64_t m[16];
  for (int i = 0; i < 16; ++i) m[i] = LoadLittleEndian(block + 8 * i);
  std::uint64_t v[16];
  for (int i = 0; i < 8; ++i) {
    v[i] = context.State[i];
    v[i + 8] = kInitial[i];
  }
  v[12] ^= context.Count[0];
  v[13] ^= context.Count[1];
  if (last) v[14] = ~v[14];
  for (int round = 0; round < 12; ++round) {
    const std::uint8_t* s = kSigma[round % 10];
    Mix(v, 0, 4, 8, 12, m[s[0]], m[s[1]]);
    Mix(v, 1, 5, 9, 13, m[s[2]], m[s[3]]);
    Mix(v, 2, 6, 10, 14, m[s[4]], m[s[5]]);
    Mix(v, 3, 7, 11, 15, m[s[6]], m[s[7]]);
    Mix(v, 0, 5, 10, 15, m[s[8]], m[s[9]]);
    Mix(v, 1, 6, 11, 12, m[s[10]], m[s[11]]);
    Mix(v, 2, 7, 8, 13, m[s[12]], m[s[13]]);
    Mix(v, 3, 4, 9, 14, m[s[14]], m[s[15]]);
  }
  for (int i = 0; i < 8; ++i) context.State[i] ^= v[i] ^ v[i + 8];
}

void Count(TBlake2bContext& context, std::size_t bytes) {
  context.Count[0] += bytes;
  if (context.Count[0] < bytes) ++context.Count[1];
}

}  // namespace

bool Blake2bInit(TBlake2bContext& context, std::size_t outBytes, std::span<const std::uint8_t> key) {
  if (outBytes == 0 || outBytes > kBlake2bMaxBytes || key.size() > kBlake2bMaxBytes) return false;
  std::memcpy(context.State, kInitial, sizeof kInitial);
  // The parameter block's first word: digest length, key length, fanout 1 and depth 1 (sequential
  // hashing); its other words are zero and leave the initial values as they are.
  context.State[0] ^= 0x01010000 ^ key.size() << 8 ^ outBytes;
  context.Count[0] = context.Count[1] = 0;
  context.Buffered = 0;
  context.OutBytes = outBytes;
  if (!key.empty()) {
    // A key is a first block of its own, zero-padded.
    std::memset(context.Buffer, 0, kBlock);
    std::memcpy(context.Buffer, key.data(), key.size());
    context.Buffered = kBlock;
  }
  return true;
}

// A full Buffer is compressed only once more bytes arrive: whether a block is the last one is
// known only then.
void Blake2bUpdate(TBlake2bContext& context, const void* bytes, std::size_t count) {
  const auto* input = static_cast<const std::uint8_t*>(bytes);
  const std::size_t room = kBlock - context.Buffered;
  if (count > room) {
    std::memcpy(context.Buffer + context.Buffered, input, room);
    Count(context, kBlock);
    Compress(context, context.Buffer, false);
    context.Buffered = 0;
    input += room;
    count -= room;
    for (; count > kBlock; input += kBlock, count -= kBlock) {
      Count(context, kBlock);
      Compress(context, input, false);
    }
  }
  if (count > 0) std::memcpy(context.Buffer + context.Buffered, input, count);
  context.Buffered += count;
}

void Blake2bFinal(TBlake2bContext& context, TBlake2bDigest& digest) {
  Count(context, context.Buffered);
  std::memset(context.Buffer + context.Buffered, 0, kBlock - context.Buffered);
  Compress(context, context.Buffer, true);
  for (std::size_t i = 0; i < context.OutBytes; ++i)
    digest[i] = static_cast<std::uint8_t>(context.State[i / 8] >> 8 * (i % 8));
  std::memset(&context, 0, sizeof context);
}
