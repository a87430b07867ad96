#include "core/crc.h"

namespace {

// Table k gives the effect of one byte followed by k zero bytes, so sixteen bytes fold in one
// step of independent look-ups. Built at compile time from the reflected polynomial alone, so
// this path needs no start-up call.
template <typename T>
struct TSliceTables {
  T Table[16][256];
};

template <typename T>
constexpr TSliceTables<T> MakeSliceTables(std::uint32_t reflectedPoly) {
  TSliceTables<T> s{};
  for (unsigned i = 0; i < 256; ++i) {
    std::uint32_t a = i;
    for (int bit = 0; bit < 8; ++bit) a = (a & 1) ? (a >> 1) ^ reflectedPoly : a >> 1;
    s.Table[0][i] = static_cast<T>(a);
  }
  for (unsigned k = 1; k < 16; ++k) {
    for (unsigned i = 0; i < 256; ++i) {
      const T prev = s.Table[k - 1][i];
      s.Table[k][i] = static_cast<T>(s.Table[0][prev & 0xFF] ^ (prev >> 8));
    }
  }
  return s;
}

constexpr TSliceTables<std::uint16_t> kCrc16Slices = MakeSliceTables<std::uint16_t>(0x8408);
constexpr TSliceTables<std::uint32_t> kCrc32Slices = MakeSliceTables<std::uint32_t>(0xEDB88320);

// Compilers turn this into one load on little-endian machines.
inline std::uint32_t LoadLe32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

template <typename T>
T SliceUpdate(const TSliceTables<T>& s, T reg, const void* data, std::size_t count) {
  const auto& t = s.Table;
  const auto* p = static_cast<const std::uint8_t*>(data);
  std::uint32_t crc = reg;
  for (; count >= 16; p += 16, count -= 16) {
    const std::uint32_t w0 = LoadLe32(p) ^ crc;
    const std::uint32_t w1 = LoadLe32(p + 4);
    const std::uint32_t w2 = LoadLe32(p + 8);
    const std::uint32_t w3 = LoadLe32(p + 12);
    crc = t[15][w0 & 0xFF] ^ t[14][(w0 >> 8) & 0xFF] ^ t[13][(w0 >> 16) & 0xFF] ^ t[12][w0 >> 24] ^ t[11][w1 & 0xFF] ^
          t[10][(w1 >> 8) & 0xFF] ^ t[9][(w1 >> 16) & 0xFF] ^ t[8][w1 >> 24] ^ t[7][w2 & 0xFF] ^
          t[6][(w2 >> 8) & 0xFF] ^ t[5][(w2 >> 16) & 0xFF] ^ t[4][w2 >> 24] ^ t[3][w3 & 0xFF] ^ t[2][(w3 >> 8) & 0xFF] ^
          t[1][(w3 >> 16) & 0xFF] ^ t[0][w3 >> 24];
  }
  for (; count > 0; ++p, --count) crc = t[0][(crc ^ *p) & 0xFF] ^ (crc >> 8);
  return static_cast<T>(crc);
}

}  // namespace

std::uint16_t Crc16UpdateSlice16(std::uint16_t reg, const void* data, std::size_t count) {
  return SliceUpdate(kCrc16Slices, reg, data, count);
}

std::uint32_t Crc32UpdateSlice16(std::uint32_t reg, const void* data, std::size_t count) {
  return SliceUpdate(kCrc32Slices, reg, data, count);
}
