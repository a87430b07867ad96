#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// BLAKE3 as its authors publish it (32-byte digests, unkeyed), streaming over caller-owned state.
// The input is cut into chunks of 1 KiB, each compressed block by block into a chaining value;
// the chaining values are joined pairwise by parent nodes into a binary tree whose left subtrees
// are always whole powers of two of chunks, and the root node is compressed once more with the
// ROOT flag. Whole chunks are independent, so the SIMD paths compress many at once, and a big
// file's aligned subtrees can be hashed on several threads and joined (Blake3JoinSubtrees).

inline constexpr std::size_t kBlake3BlockBytes = 64;
inline constexpr std::size_t kBlake3ChunkBytes = 1024;
// Chunks of 1 KiB and a 64-bit byte count: at most 54 subtrees wait to be joined.
inline constexpr std::size_t kBlake3MaxDepth = 54;

using TBlake3Cv = std::array<std::uint32_t, 8>;
using TBlake3Digest = std::array<std::uint8_t, 32>;

// Compresses `count` whole chunks lying one after another at `input` into their chaining values
// (cvs[i] for chunk i, numbered counter + i), with no flags beyond the chunk's own.
using TBlake3ChunksFn = void (*)(const std::uint8_t* input, std::size_t count, std::uint64_t counter, TBlake3Cv* cvs);

struct TBlake3Context {
  TBlake3Cv ChunkCv;                      // the chunk being fed, after its compressed blocks
  std::uint64_t ChunkCounter;             // that chunk's number in the whole input
  std::uint8_t Block[kBlake3BlockBytes];  // its last block waits here: the chunk's end is unknown
  std::size_t BlockBytes;                 // bytes in Block
  std::size_t BlocksCompressed;           // of the chunk, before Block
  TBlake3Cv Stack[kBlake3MaxDepth];       // chaining values of whole subtrees left of the chunk
  std::size_t StackSize;
  TBlake3ChunksFn Chunks;  // the many-chunks path, set by Init
};

// From the input's start; or from chunk `firstChunk` on, for one subtree of a bigger input whose
// chaining value Blake3FinalCv gives. The path is the chosen one or the one passed (tests).
void Blake3Init(TBlake3Context& context, std::uint64_t firstChunk = 0);
void Blake3Init(TBlake3Context& context, std::uint64_t firstChunk, TBlake3ChunksFn chunks);

// A count of 0 changes nothing.
void Blake3Update(TBlake3Context& context, const void* bytes, std::size_t count);

// The digest of the whole input, then the context wiped to zero; Init before reusing it.
void Blake3Final(TBlake3Context& context, TBlake3Digest& digest);

// The chaining value of the subtree fed since Init (at least one byte; whole chunks of a power of
// two, or the input's last subtree), then the context wiped.
TBlake3Cv Blake3FinalCv(TBlake3Context& context);

// The digest of an input cut into subtrees of one power of two of chunks each, the last one
// possibly shorter: their chaining values in order, at least two.
void Blake3JoinSubtrees(std::span<const TBlake3Cv> subtrees, TBlake3Digest& digest);

// The bytes of each subtree when an input of `size` bytes is hashed by `workers` threads: the
// smallest power of two of chunks that leaves no more than workers * 4 subtrees (several a worker,
// so that one slow to start leaves less idle), at least one chunk.
std::uint64_t Blake3SubtreeBytes(std::uint64_t size, unsigned workers);

// The compression paths. Portable: any processor, one chunk after another.
void Blake3ChunksPortable(const std::uint8_t* input, std::size_t count, std::uint64_t counter, TBlake3Cv* cvs);
#if defined(__x86_64__)
// Four chunks at once in SSE4.1 registers, eight in AVX2's, sixteen in AVX-512's; call only where
// CpuFeatures() reports the extension.
void Blake3ChunksSse41(const std::uint8_t* input, std::size_t count, std::uint64_t counter, TBlake3Cv* cvs);
void Blake3ChunksAvx2(const std::uint8_t* input, std::size_t count, std::uint64_t counter, TBlake3Cv* cvs);
void Blake3ChunksAvx512(const std::uint8_t* input, std::size_t count, std::uint64_t counter, TBlake3Cv* cvs);
#endif

// The fastest path for this processor, chosen once.
TBlake3ChunksFn Blake3ChosenChunks();
