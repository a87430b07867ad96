#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// SHA-1, SHA-224, SHA-256, SHA-384 and SHA-512 as FIPS 180-4 defines them, streaming over
// caller-owned state. SHA-224 and SHA-384 are SHA-256 and SHA-512 from other initial values, with
// the digest cut short: they share their contexts, Update and compression paths.

// The state the three share in shape: chaining values of their word size, a byte count and one
// block of buffered input.
template <typename TWord, std::size_t StateWords, std::size_t BlockBytes>
struct TShaContext {
  // Compresses `count` consecutive blocks into the chaining values.
  using TBlocksFn = void (*)(TWord state[StateWords], const std::uint8_t* blocks, std::size_t count);

  TWord State[StateWords];          // chaining values
  std::uint64_t Count;              // bytes fed so far, modulo 2^64
  std::uint8_t Buffer[BlockBytes];  // the first Count % BlockBytes bytes wait for compression
  TBlocksFn Blocks;                 // the compression path, set by Init
};

using TSha1Context = TShaContext<std::uint32_t, 5, 64>;
using TSha256Context = TShaContext<std::uint32_t, 8, 64>;
using TSha512Context = TShaContext<std::uint64_t, 8, 128>;
using TSha1BlocksFn = TSha1Context::TBlocksFn;
using TSha256BlocksFn = TSha256Context::TBlocksFn;
using TSha512BlocksFn = TSha512Context::TBlocksFn;
using TSha1Digest = std::array<std::uint8_t, 20>;
using TSha224Digest = std::array<std::uint8_t, 28>;
using TSha384Digest = std::array<std::uint8_t, 48>;
using TSha256Digest = std::array<std::uint8_t, 32>;
using TSha512Digest = std::array<std::uint8_t, 64>;

// Set State, Count and the compression path: the one the Chosen function below gives, or the one
// passed (a test or a benchmark forcing a path). Buffer is left as it is.
void Sha1Init(TSha1Context& context);
void Sha256Init(TSha256Context& context);
void Sha512Init(TSha512Context& context);
void Sha224Init(TSha256Context& context);
void Sha384Init(TSha512Context& context);
void Sha1Init(TSha1Context& context, TSha1BlocksFn blocks);
void Sha256Init(TSha256Context& context, TSha256BlocksFn blocks);
void Sha512Init(TSha512Context& context, TSha512BlocksFn blocks);
void Sha224Init(TSha256Context& context, TSha256BlocksFn blocks);
void Sha384Init(TSha512Context& context, TSha512BlocksFn blocks);

// A count of 0 changes nothing. SHA-224 updates with Sha256Update, SHA-384 with Sha512Update.
void Sha1Update(TSha1Context& context, const void* bytes, std::size_t count);
void Sha256Update(TSha256Context& context, const void* bytes, std::size_t count);
void Sha512Update(TSha512Context& context, const void* bytes, std::size_t count);

// Pad, write the digest, then wipe the whole context to zero; Init before reusing it.
void Sha1Final(TSha1Context& context, TSha1Digest& digest);
void Sha256Final(TSha256Context& context, TSha256Digest& digest);
void Sha512Final(TSha512Context& context, TSha512Digest& digest);
void Sha224Final(TSha256Context& context, TSha224Digest& digest);
void Sha384Final(TSha512Context& context, TSha384Digest& digest);

// The compression paths. Portable: any processor.
void Sha1BlocksPortable(std::uint32_t state[5], const std::uint8_t* blocks, std::size_t count);
void Sha256BlocksPortable(std::uint32_t state[8], const std::uint8_t* blocks, std::size_t count);
void Sha512BlocksPortable(std::uint64_t state[8], const std::uint8_t* blocks, std::size_t count);
#if defined(__x86_64__)
// The SHA extensions; call only where CpuFeatures() reports Sha.
void Sha1BlocksShaNi(std::uint32_t state[5], const std::uint8_t* blocks, std::size_t count);
void Sha256BlocksShaNi(std::uint32_t state[8], const std::uint8_t* blocks, std::size_t count);
// The message schedule of two blocks at a time in AVX2 registers, the rounds with BMI1 and BMI2;
// call only where CpuFeatures() reports Avx2 and Bmi2.
void Sha512BlocksAvx2(std::uint64_t state[8], const std::uint8_t* blocks, std::size_t count);
#endif

// The fastest path for this processor, chosen once.
TSha1BlocksFn Sha1ChosenBlocks();
TSha256BlocksFn Sha256ChosenBlocks();
TSha512BlocksFn Sha512ChosenBlocks();
