#pragma once

#include <cstddef>
#include <string_view>

#include "core/codepage.h"

// Byte length of the character that starts at `pos`: 2 for a lead byte followed by a byte that
// can be a trail byte, else 1. Trail bytes of every double-byte ANSI code page are 0x40 or
// above, so a stray lead byte never swallows a blank, a quote, a "." or a ":" after it.
inline std::size_t CharLengthAt(std::string_view text, std::size_t pos, LeadByteTest isLeadByte) {
  if (pos + 1 < text.size() && isLeadByte(static_cast<unsigned char>(text[pos])) &&
      static_cast<unsigned char>(text[pos + 1]) >= 0x40) {
    return 2;
  }
  return 1;
}
