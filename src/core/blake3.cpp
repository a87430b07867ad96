#include "core/blake3.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "core/blake3_compress.h"

namespace {

using blake3::kChunkEnd;
using blake3::kChunkStart;
using blake3::kParent;
using blake3::kRoot;

// Whole chunks handed to the many-chunks path at once: enough for sixteen lanes twice over.
constexpr std::size_t kChunksAtOnce = 32;

// A node not yet compressed for good: the root takes it with the ROOT flag, any other node's
// chaining value without.
struct TNode {
  TBlake3Cv Cv;
  std::uint8_t Block[kBlake3BlockBytes];
  std::uint64_t Counter;
  std::uint32_t BlockBytes;
  std::uint32_t Flags;

  [[nodiscard]] TBlake3Cv ChainingValue() const {
    TBlake3Cv cv = Cv;
    blake3::Compress(cv, Block, Counter, BlockBytes, Flags);
    return cv;
  }
  void RootDigest(TBlake3Digest& digest) const {
    TBlake3Cv cv = Cv;
    // The root's output block number is 0: a 32-byte digest is the first block of its output.
    blake3::Compress(cv, Block, 0, BlockBytes, Flags | kRoot);
    for (int i = 0; i < 8; ++i) {
      for (int b = 0; b < 4; ++b) digest[4 * i + b] = static_cast<std::uint8_t>(cv[i] >> (8 * b));
    }
  }
};

TNode ParentNode(const TBlake3Cv& left, const TBlake3Cv& right) {
  TNode node{};
  std::memcpy(node.Cv.data(), blake3::kIv, sizeof blake3::kIv);
  for (int i = 0; i < 8; ++i) {
    for (int b = 0; b < 4; ++b) {
      node.Block[4 * i + b] = static_cast<std::uint8_t>(left[i] >> (8 * b));
      node.Block[32 + 4 * i + b] = static_cast<std::uint8_t>(right[i] >> (8 * b));
    }
  }
  node.BlockBytes = kBlake3BlockBytes;
  node.Flags = kParent;
  return node;
}

// The chunk being fed, as a node: its last block with CHUNK_END.
TNode ChunkNode(const TBlake3Context& context) {
  TNode node{};
  node.Cv = context.ChunkCv;
  std::memcpy(node.Block, context.Block, context.BlockBytes);
  node.Counter = context.ChunkCounter;
  node.BlockBytes = static_cast<std::uint32_t>(context.BlockBytes);
  node.Flags = (context.BlocksCompressed == 0 ? kChunkStart : 0) | kChunkEnd;
  return node;
}

void StartChunk(TBlake3Context& context, std::uint64_t counter) {
  std::memcpy(context.ChunkCv.data(), blake3::kIv, sizeof blake3::kIv);
  context.ChunkCounter = counter;
  context.BlockBytes = 0;
  context.BlocksCompressed = 0;
}

// Pushes the chaining value of a whole subtree that ends after `total` units (chunks, or equal
// subtrees), first joining it with every finished left neighbour of its size: as many as total
// has trailing zero bits. Joining waits for the next chunk, so the last one can still be the root.
void PushSubtree(TBlake3Cv* stack, std::size_t& size, TBlake3Cv cv, std::uint64_t total) {
  for (; (total & 1) == 0; total >>= 1) cv = ParentNode(stack[--size], cv).ChainingValue();
  stack[size++] = cv;
}

// The whole node above everything fed: the chunk joined with each waiting subtree from the right.
TNode TopNode(const TBlake3Context& context) {
  TNode node = ChunkNode(context);
  for (std::size_t i = context.StackSize; i-- > 0;) node = ParentNode(context.Stack[i], node.ChainingValue());
  return node;
}

std::size_t ChunkBytes(const TBlake3Context& context) {
  return context.BlocksCompressed * kBlake3BlockBytes + context.BlockBytes;
}

}  // namespace

void Blake3Init(TBlake3Context& context, std::uint64_t firstChunk, TBlake3ChunksFn chunks) {
  StartChunk(context, firstChunk);
  context.StackSize = 0;
  context.Chunks = chunks;
}

void Blake3Init(TBlake3Context& context, std::uint64_t firstChunk) {
  Blake3Init(context, firstChunk, Blake3ChosenChunks());
}

void Blake3Update(TBlake3Context& context, const void* bytes, std::size_t count) {
  const auto* in = static_cast<const std::uint8_t*>(bytes);
  // A context started at a subtree's first chunk joins by the absolute chunk count: the subtree
  // is aligned to its own size, and its last chunk is never pushed, so no join reaches past it.
  while (count > 0) {
    if (ChunkBytes(context) == kBlake3ChunkBytes) {
      const TBlake3Cv cv = ChunkNode(context).ChainingValue();
      const std::uint64_t next = context.ChunkCounter + 1;
      PushSubtree(context.Stack, context.StackSize, cv, next);
      StartChunk(context, next);
    }
    // Whole chunks with more input after them go to the many-chunks path; the last stays fed
    // block by block, since it may be the root.
    if (ChunkBytes(context) == 0 && count > kBlake3ChunkBytes) {
      const std::size_t n = std::min((count - 1) / kBlake3ChunkBytes, kChunksAtOnce);
      TBlake3Cv cvs[kChunksAtOnce];
      context.Chunks(in, n, context.ChunkCounter, cvs);
      for (std::size_t i = 0; i < n; ++i) {
        PushSubtree(context.Stack, context.StackSize, cvs[i], context.ChunkCounter + i + 1);
      }
      StartChunk(context, context.ChunkCounter + n);
      in += n * kBlake3ChunkBytes;
      count -= n * kBlake3ChunkBytes;
      continue;
    }
    if (context.BlockBytes == kBlake3BlockBytes) {
      blake3::Compress(context.ChunkCv, context.Block, context.ChunkCounter, kBlake3BlockBytes,
                       context.BlocksCompressed == 0 ? kChunkStart : 0);
      ++context.BlocksCompressed;
      context.BlockBytes = 0;
    }
    const std::size_t take = std::min(kBlake3BlockBytes - context.BlockBytes, count);
    std::memcpy(context.Block + context.BlockBytes, in, take);
    context.BlockBytes += take;
    in += take;
    count -= take;
  }
}

void Blake3Final(TBlake3Context& context, TBlake3Digest& digest) {
  TopNode(context).RootDigest(digest);
  std::memset(&context, 0, sizeof context);
}

TBlake3Cv Blake3FinalCv(TBlake3Context& context) {
  const TBlake3Cv cv = TopNode(context).ChainingValue();
  std::memset(&context, 0, sizeof context);
  return cv;
}

void Blake3JoinSubtrees(std::span<const TBlake3Cv> subtrees, TBlake3Digest& digest) {
  TBlake3Cv stack[kBlake3MaxDepth];
  std::size_t size = 0;
  for (std::size_t i = 0; i + 1 < subtrees.size(); ++i) PushSubtree(stack, size, subtrees[i], i + 1);
  TBlake3Cv right = subtrees.back();
  while (size > 1) right = ParentNode(stack[--size], right).ChainingValue();
  ParentNode(stack[0], right).RootDigest(digest);
}

std::uint64_t Blake3SubtreeBytes(std::uint64_t size, unsigned workers) {
  const std::uint64_t most = std::max(1u, workers) * 4ull;
  std::uint64_t bytes = kBlake3ChunkBytes;
  while (size > bytes * most) bytes *= 2;
  return bytes;
}
