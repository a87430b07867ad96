#pragma once

#include <cstddef>
#include <cstdint>

#include "core/crc.h"

// Multipliers for folding reflected CRCs with carry-less multiplication.
//
// Sixteen message bytes loaded little-endian form a polynomial A of degree < 128 in reflected
// order: bit j holds the coefficient of x^(127-j). Its low qword H carries x^127..x^64, its high
// qword L carries x^63..x^0, so A = H*x^64 + L. Carrying A d bits further along the message:
//   A*x^d = H*x^(64+d) + L*x^d  ==  H*(x^(64+d) mod P) + L*(x^d mod P)   (mod P),
// and the sum has degree < 128 again, so it can be XORed onto the block found d bits later.
// A CRC of width w keeps a residue with bit i holding x^(w-1-i). Multiplying a qword (bit j holds
// x^(63-j)) by such a residue puts x^(62+w-m) at bit m of the product; read as a 128-bit reflected
// value (bit m holds x^(127-m)) that is the true product times x^(65-w). Hence the residues used:
//   for H: x^(64+d-(65-w)) = x^(d+w-1) mod P,   for L: x^(d+w-65) mod P.
// When all blocks are folded, the last 128-bit value goes through the byte tables from a zero
// register, which yields A*x^w mod P, the register; the tail bytes follow through the tables.
namespace crc_fold {

// x^k mod P as a reflected residue of the given width: start from x^0 (the top bit) and
// multiply by x k times; a coefficient leaving at x^w comes back as the polynomial's lower terms.
constexpr std::uint64_t XPowMod(unsigned k, unsigned width, std::uint32_t reflectedPoly) {
  std::uint64_t r = std::uint64_t{1} << (width - 1);
  for (unsigned i = 0; i < k; ++i) r = (r & 1) ? (r >> 1) ^ reflectedPoly : r >> 1;
  return r;
}

// The two multipliers that carry a 128-bit value `bits` further: for its low and its high qword.
struct TFoldKeys {
  std::uint64_t Low;
  std::uint64_t High;
};

constexpr TFoldKeys FoldKeys(unsigned bits, unsigned width, std::uint32_t reflectedPoly) {
  return {XPowMod(bits + width - 1, width, reflectedPoly), XPowMod(bits + width - 65, width, reflectedPoly)};
}

// The two checks of this program.
struct TCrc16Poly {
  using TReg = std::uint16_t;
  static constexpr unsigned Width = 16;
  static constexpr std::uint32_t Reflected = 0x8408;
  static constexpr TCrc16Fn Tables = Crc16UpdateSlice16;
};
struct TCrc32Poly {
  using TReg = std::uint32_t;
  static constexpr unsigned Width = 32;
  static constexpr std::uint32_t Reflected = 0xEDB88320;
  static constexpr TCrc32Fn Tables = Crc32UpdateSlice16;
};

// The register from the last folded 128-bit value (stored as 16 bytes) and the tail after it.
template <typename TPoly>
typename TPoly::TReg FinishFold(const std::uint8_t (&folded)[16], const std::uint8_t* tail, std::size_t tailCount) {
  return TPoly::Tables(TPoly::Tables(0, folded, sizeof folded), tail, tailCount);
}

}  // namespace crc_fold
