#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/blake2b.h"
#include "core/blake3.h"
#include "core/hash_type.h"
#include "core/md5.h"
#include "core/sha.h"

// The running checksum of one file, of one kind.
class Checksum {
 public:
  // digestBytes: the digest's length, 0 for the kind's own (BLAKE2b's is 64). A length that
  // Accepts refuses is taken as 0.
  explicit Checksum(THashType kind, std::size_t digestBytes = 0);
  // Whether digestBytes is a digest length of the kind: 0 or its own length, or for BLAKE2b any
  // from 1 to 64. Of a kind without a checksum only 0.
  static bool Accepts(THashType kind, std::size_t digestBytes);
  // A CRC from a zero register, for a stretch that another Checksum's bytes come before: see
  // Append.
  static Checksum Continuation(THashType kind);
  // BLAKE3 of one whole subtree of a bigger input, from its first chunk: see SubtreeCv.
  static Checksum Blake3Subtree(std::uint64_t firstChunk);

  void Fold(const std::uint8_t* data, std::size_t count);
  // The CRC of this checksum's bytes followed by the count bytes that after folded as a
  // Continuation. CRC kinds only.
  void Append(const Checksum& after, std::uint64_t count);
  // Upper-case hex; call once, at the end.
  std::string Text();
  // A Blake3Subtree's chaining value, for Blake3JoinSubtrees; call once, at the end.
  TBlake3Cv SubtreeCv() { return Blake3FinalCv(blake3_); }

 private:
  THashType kind_;
  std::uint16_t crc16_ = 0xFFFF;
  std::uint32_t crc32_ = 0xFFFFFFFF;
  // One context of each digest: a few hundred bytes, on the stack of one call. SHA-224 runs in
  // sha256_, SHA-384 in sha512_.
  TMD5Context md5_{};
  TSha1Context sha1_{};
  TSha256Context sha256_{};
  TSha512Context sha512_{};
  TBlake2bContext blake2b_{};
  TBlake3Context blake3_{};
};
