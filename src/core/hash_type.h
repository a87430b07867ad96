#pragma once

#include <cstddef>
#include <cstdint>

// The hash kind, one byte as the settings file stores it (CRC16 to SHA256 are the creation
// panel's buttons). SHA1 and SHA512 only verify lists that other tools made. None stands for "no
// hash button pressed" or "not a checksum list". Other byte values can arrive from a hand-edited
// settings file and are carried as they are.
enum class THashType : std::uint8_t {
  CRC16 = 0,
  CRC32 = 1,
  MD5 = 2,
  SHA256 = 3,
  None = 4,
  SHA1 = 5,
  SHA512 = 6,
  SHA224 = 7,
  SHA384 = 8,
  BLAKE2b = 9,
};

// Hex digits of one hash text of the kind (0 for anything else).
constexpr int HashTextLength(THashType kind) {
  switch (kind) {
    case THashType::CRC16: return 4;
    case THashType::CRC32: return 8;
    case THashType::MD5: return 32;
    case THashType::SHA1: return 40;
    case THashType::SHA256: return 64;
    case THashType::SHA512: return 128;
    case THashType::SHA224: return 56;
    case THashType::SHA384: return 96;
    case THashType::BLAKE2b: return 128;
    default: return 0;
  }
}

// The kinds whose lists are digests and names, without sizes (MD5 and the SHA kinds).
constexpr bool IsDigestKind(THashType kind) {
  return kind == THashType::MD5 || kind == THashType::SHA1 || kind == THashType::SHA256 || kind == THashType::SHA512 ||
         kind == THashType::SHA224 || kind == THashType::SHA384 || kind == THashType::BLAKE2b;
}

// The digest kind of a hash text of this many hex digits; None for any other length.
constexpr THashType DigestKindOfLength(std::size_t digits) {
  switch (digits) {
    case 32: return THashType::MD5;
    case 40: return THashType::SHA1;
    case 64: return THashType::SHA256;
    case 56: return THashType::SHA224;
    case 96: return THashType::SHA384;
    case 128: return THashType::SHA512;
    default: return THashType::None;
  }
}
