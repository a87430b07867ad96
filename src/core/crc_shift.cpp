#include "core/crc.h"

namespace {

// Polynomials modulo the CRC's, in the register's reflected order: the most significant bit of a
// width-bit value is the coefficient of x^0.
template <typename T, T kPoly>
struct ReflectedField {
  static constexpr T kOne = T(1) << (sizeof(T) * 8 - 1);

  static T Multiply(T a, T b) {
    T product = 0;
    for (T bit = kOne; bit != 0; bit >>= 1) {
      if ((a & bit) != 0) product ^= b;
      b = (b & 1) != 0 ? static_cast<T>((b >> 1) ^ kPoly) : static_cast<T>(b >> 1);
    }
    return product;
  }

  // x^(8 * count): one byte of zeros shifts the register by x^8.
  static T PowerOfBytes(std::uint64_t count) {
    T result = kOne;
    T square = kOne >> 8;
    for (; count != 0; count >>= 1) {
      if ((count & 1) != 0) result = Multiply(result, square);
      square = Multiply(square, square);
    }
    return result;
  }
};

}  // namespace

std::uint16_t Crc16Shift(std::uint16_t reg, std::uint64_t count) {
  using Field = ReflectedField<std::uint16_t, 0x8408>;
  return Field::Multiply(reg, Field::PowerOfBytes(count));
}

std::uint32_t Crc32Shift(std::uint32_t reg, std::uint64_t count) {
  using Field = ReflectedField<std::uint32_t, 0xEDB88320u>;
  return Field::Multiply(reg, Field::PowerOfBytes(count));
}
