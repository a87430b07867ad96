#pragma once

#include <cstdint>

// The hash kind, one byte as the settings file stores it. Only CRC16, CRC32 and MD5 ever reach
// hashing; None stands for "no hash button pressed" or "not a checksum list". Other byte
// values can arrive from a hand-edited settings file and are carried as they are.
enum class THashType : std::uint8_t { CRC16 = 0, CRC32 = 1, MD5 = 2, None = 4 };

// Hex digits of one hash text of the kind: 4, 8 or 32 (0 for anything else).
constexpr int HashTextLength(THashType kind) {
  switch (kind) {
    case THashType::CRC16: return 4;
    case THashType::CRC32: return 8;
    case THashType::MD5: return 32;
    default: return 0;
  }
}
