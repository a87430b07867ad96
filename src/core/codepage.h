#pragma once

// Multi-byte text in an ANSI code page is stepped over character by character: a lead byte and
// the byte after it form one character, and that second byte is never a delimiter even when it
// has the value of "\" (0x5C), as in the Shift-JIS 表 (0x95 0x5C). The core takes the code
// page's lead-byte test as a parameter; on Windows it is the system ANSI code page's.
using LeadByteTest = bool (*)(unsigned char byte);

// Shift-JIS (code page 932) lead bytes: 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsShiftJisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// A single-byte code page, and UTF-8 (the program's own text): no byte leads a pair, as no
// byte of a multi-byte UTF-8 character is ever "\\", ":" or any other ASCII byte.
constexpr bool IsNeverLeadByte(unsigned char) { return false; }
