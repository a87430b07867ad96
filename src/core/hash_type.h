#pragma once

#include <cstddef>
#include <cstdint>

// The hash kind, one byte as the settings file stores it (CRC16 to SHA256 and BLAKE3 are the
// creation panel's buttons), except BLAKE3, which the settings file stores as 5: see
// SettingsValueOfKind. SHA1 and SHA512 to BLAKE2b only verify lists that other tools made. None
// stands for "no hash button pressed" or "not a checksum list". Other byte values can arrive from
// a hand-edited settings file and are carried as they are.
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
  BLAKE2b = 9,  // of any digest length from 1 to 64 bytes; 64 unless a list says otherwise
  BLAKE3 = 10,
};

// The settings file's "HashType" took BLAKE3 at 5, its first value after None: the values the
// file may hold and the enumeration trade places for 5 and 10. Any other value is the same in both.
constexpr std::uint8_t SettingsValueOfKind(THashType kind) {
  switch (kind) {
    case THashType::BLAKE3: return 5;
    case THashType::SHA1: return 10;
    default: return static_cast<std::uint8_t>(kind);
  }
}
constexpr THashType KindOfSettingsValue(std::uint8_t value) {
  switch (value) {
    case 5: return THashType::BLAKE3;
    case 10: return THashType::SHA1;
    default: return static_cast<THashType>(value);
  }
}

// Hex digits of one hash text of the kind (0 for anything else); BLAKE2b's are those of its
// 64-byte digest.
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
    case THashType::BLAKE3: return 64;
    default: return 0;
  }
}

// The kinds whose lists are digests and names, without sizes (MD5, the SHA kinds, BLAKE2b and
// BLAKE3).
constexpr bool IsDigestKind(THashType kind) {
  switch (kind) {
    case THashType::MD5:
    case THashType::SHA1:
    case THashType::SHA224:
    case THashType::SHA256:
    case THashType::SHA384:
    case THashType::SHA512:
    case THashType::BLAKE2b:
    case THashType::BLAKE3: return true;
    default: return false;
  }
}

// The digest kind of a hash text of this many hex digits; None for any other length. 128 digits
// are SHA-512's, the older and commoner of the two kinds of that length; 64 are SHA-256's, not
// BLAKE3's, for the same reason.
constexpr THashType DigestKindOfLength(std::size_t digits) {
  switch (digits) {
    case 32: return THashType::MD5;
    case 40: return THashType::SHA1;
    case 56: return THashType::SHA224;
    case 64: return THashType::SHA256;
    case 96: return THashType::SHA384;
    case 128: return THashType::SHA512;
    default: return THashType::None;
  }
}
