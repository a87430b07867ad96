#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Upper-case hexadecimal text, zero-padded to `digits` (the low digits of value).
std::string HexUpper(std::uint64_t value, int digits);
// Each byte in order as two upper-case hex digits.
std::string HexUpperBytes(const std::uint8_t* bytes, std::size_t count);
// Plain ASCII lower-casing of A-F (and every other A-Z); other bytes stay.
std::string AsciiLower(std::string text);
// Plain ASCII upper-casing of a-z; other bytes stay.
std::string AsciiUpper(std::string_view text);
// Equality of two hash texts ignoring the case of the ASCII letters; every other byte, and the
// length, must match exactly.
bool SameHexIgnoringCase(std::string_view a, std::string_view b);
