#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/hash_type.h"
#include "core/md5.h"
#include "core/sha.h"

// The running checksum of one file, of one kind.
class Checksum {
 public:
  explicit Checksum(THashType kind);
  // A CRC from a zero register, for a stretch that another Checksum's bytes come before: see
  // Append.
  static Checksum Continuation(THashType kind);

  void Fold(const std::uint8_t* data, std::size_t count);
  // The CRC of this checksum's bytes followed by the count bytes that after folded as a
  // Continuation. CRC kinds only.
  void Append(const Checksum& after, std::uint64_t count);
  // Upper-case hex; call once, at the end.
  std::string Text();

 private:
  THashType kind_;
  std::uint16_t crc16_ = 0xFFFF;
  std::uint32_t crc32_ = 0xFFFFFFFF;
  // One context of each digest: a few hundred bytes, on the stack of one call.
  TMD5Context md5_{};
  TSha1Context sha1_{};
  TSha256Context sha256_{};
  TSha512Context sha512_{};
};
