#include "core/crc.h"
#include "core/crc_fold.h"

namespace {

// Residues modulo the CRC's polynomial in the register's reflected order, as crc_fold keeps
// them: the top bit of a Width-bit value is the coefficient of x^0.
template <typename TPoly>
struct Residues {
  using TReg = typename TPoly::TReg;
  static constexpr TReg kOne = TReg(1) << (TPoly::Width - 1);

  static TReg Multiply(TReg a, TReg b) {
    TReg product = 0;
    for (TReg bit = kOne; bit != 0; bit >>= 1) {
      if ((a & bit) != 0) product ^= b;
      b = (b & 1) != 0 ? static_cast<TReg>((b >> 1) ^ TPoly::Reflected) : static_cast<TReg>(b >> 1);
    }
    return product;
  }

  // x^(8 * count) by squaring: one byte of zeros shifts the register by x^8.
  static TReg PowerOfBytes(std::uint64_t count) {
    TReg result = kOne;
    TReg square = kOne >> 8;
    for (; count != 0; count >>= 1) {
      if ((count & 1) != 0) result = Multiply(result, square);
      square = Multiply(square, square);
    }
    return result;
  }

  static TReg Shift(TReg reg, std::uint64_t count) { return Multiply(reg, PowerOfBytes(count)); }
};

}  // namespace

std::uint16_t Crc16Shift(std::uint16_t reg, std::uint64_t count) {
  return Residues<crc_fold::TCrc16Poly>::Shift(reg, count);
}

std::uint32_t Crc32Shift(std::uint32_t reg, std::uint64_t count) {
  return Residues<crc_fold::TCrc32Poly>::Shift(reg, count);
}
