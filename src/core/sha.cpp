#include "core/sha.h"

#include <cstring>
#include <type_traits>

#include "core/big_endian.h"

// Buffering and padding are the same for all the hashes but for the block size and the width of
// the length field, an eighth of the block.
namespace {

template <typename TContext, typename TWord, std::size_t StateWords>
void Init(TContext& context, const TWord (&initial)[StateWords], typename TContext::TBlocksFn blocks) {
  static_assert(sizeof context.State == sizeof initial);
  std::memcpy(context.State, initial, sizeof initial);
  context.Count = 0;
  context.Blocks = blocks;
}

// Whole input blocks are compressed where they lie rather than copied into Buffer first: the
// digest is the same, only the copy is saved. Buffer holds just the bytes still waiting.
template <typename TContext>
void Update(TContext& context, const void* bytes, std::size_t count) {
  constexpr std::size_t kBlock = sizeof context.Buffer;
  if (count == 0) return;
  const auto* input = static_cast<const std::uint8_t*>(bytes);
  const std::size_t index = context.Count % kBlock;
  context.Count += count;
  if (index != 0) {
    const std::size_t room = kBlock - index;
    if (count < room) {
      std::memcpy(context.Buffer + index, input, count);
      return;
    }
    std::memcpy(context.Buffer + index, input, room);
    context.Blocks(context.State, context.Buffer, 1);
    input += room;
    count -= room;
  }
  const std::size_t blocks = count / kBlock;
  if (blocks > 0) context.Blocks(context.State, input, blocks);
  input += blocks * kBlock;
  count %= kBlock;
  if (count > 0) std::memcpy(context.Buffer, input, count);
}

// The message gets a 1 bit, zeros, and its length in bits as a big-endian number in the last
// eighth of a block; the digest is the leading chaining values, big-endian (seven of SHA-224's
// eight, six of SHA-384's).
template <typename TContext, std::size_t DigestBytes>
void Final(TContext& context, std::array<std::uint8_t, DigestBytes>& digest) {
  constexpr std::size_t kBlock = sizeof context.Buffer;
  constexpr std::size_t kLengthField = kBlock / 8;
  const std::size_t index = context.Count % kBlock;
  context.Buffer[index] = 0x80;
  if (index < kBlock - kLengthField) {
    std::memset(context.Buffer + index + 1, 0, kBlock - kLengthField - 1 - index);
  } else {
    std::memset(context.Buffer + index + 1, 0, kBlock - 1 - index);
    context.Blocks(context.State, context.Buffer, 1);
    std::memset(context.Buffer, 0, kBlock - kLengthField);
  }
  std::uint8_t* length = context.Buffer + kBlock - kLengthField;
  if constexpr (kLengthField == 16) {
    // The upper half of a 128-bit field takes the bits that the byte count shifts out.
    StoreBigEndian<std::uint64_t>(length, context.Count >> 61);
    length += 8;
  }
  StoreBigEndian<std::uint64_t>(length, context.Count << 3);
  context.Blocks(context.State, context.Buffer, 1);

  using TWord = std::remove_cvref_t<decltype(context.State[0])>;
  for (std::size_t i = 0; i < DigestBytes / sizeof(TWord); ++i)
    StoreBigEndian<TWord>(digest.data() + i * sizeof(TWord), context.State[i]);
  std::memset(&context, 0, sizeof context);
}

constexpr std::uint32_t kSha1Initial[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
// The first 32 (SHA-256) or 64 (SHA-512) bits of the fractional parts of the square roots of the
// first eight primes.
constexpr std::uint32_t kSha256Initial[8] = {0x6A09E667, 0xBB67AE85, 0x3C6EF372, 0xA54FF53A,
                                             0x510E527F, 0x9B05688C, 0x1F83D9AB, 0x5BE0CD19};
constexpr std::uint64_t kSha512Initial[8] = {0x6A09E667F3BCC908, 0xBB67AE8584CAA73B, 0x3C6EF372FE94F82B,
                                             0xA54FF53A5F1D36F1, 0x510E527FADE682D1, 0x9B05688C2B3E6C1F,
                                             0x1F83D9ABFB41BD6B, 0x5BE0CD19137E2179};
// The second 32 bits of the 64-bit fractional parts of the square roots of the ninth to sixteenth
// primes (SHA-224), and the first 64 bits of them (SHA-384).
constexpr std::uint32_t kSha224Initial[8] = {0xC1059ED8, 0x367CD507, 0x3070DD17, 0xF70E5939,
                                             0xFFC00B31, 0x68581511, 0x64F98FA7, 0xBEFA4FA4};
constexpr std::uint64_t kSha384Initial[8] = {0xCBBB9D5DC1059ED8, 0x629A292A367CD507, 0x9159015A3070DD17,
                                             0x152FECD8F70E5939, 0x67332667FFC00B31, 0x8EB44A8768581511,
                                             0xDB0C2E0D64F98FA7, 0x47B5481DBEFA4FA4};

}  // namespace

void Sha1Init(TSha1Context& context) { Init(context, kSha1Initial, Sha1ChosenBlocks()); }
void Sha256Init(TSha256Context& context) { Init(context, kSha256Initial, Sha256ChosenBlocks()); }
void Sha512Init(TSha512Context& context) { Init(context, kSha512Initial, Sha512ChosenBlocks()); }
void Sha1Init(TSha1Context& context, TSha1BlocksFn blocks) { Init(context, kSha1Initial, blocks); }
void Sha256Init(TSha256Context& context, TSha256BlocksFn blocks) { Init(context, kSha256Initial, blocks); }
void Sha512Init(TSha512Context& context, TSha512BlocksFn blocks) { Init(context, kSha512Initial, blocks); }
void Sha224Init(TSha256Context& context) { Init(context, kSha224Initial, Sha256ChosenBlocks()); }
void Sha384Init(TSha512Context& context) { Init(context, kSha384Initial, Sha512ChosenBlocks()); }
void Sha224Init(TSha256Context& context, TSha256BlocksFn blocks) { Init(context, kSha224Initial, blocks); }
void Sha384Init(TSha512Context& context, TSha512BlocksFn blocks) { Init(context, kSha384Initial, blocks); }

void Sha1Update(TSha1Context& context, const void* bytes, std::size_t count) { Update(context, bytes, count); }
void Sha256Update(TSha256Context& context, const void* bytes, std::size_t count) { Update(context, bytes, count); }
void Sha512Update(TSha512Context& context, const void* bytes, std::size_t count) { Update(context, bytes, count); }

void Sha1Final(TSha1Context& context, TSha1Digest& digest) { Final(context, digest); }
void Sha256Final(TSha256Context& context, TSha256Digest& digest) { Final(context, digest); }
void Sha512Final(TSha512Context& context, TSha512Digest& digest) { Final(context, digest); }
void Sha224Final(TSha256Context& context, TSha224Digest& digest) { Final(context, digest); }
void Sha384Final(TSha512Context& context, TSha384Digest& digest) { Final(context, digest); }
