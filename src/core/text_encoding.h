#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The encodings a checksum list may come in, told apart by a byte-order mark or, without one,
// by its bytes: text that is valid UTF-8 and holds at least one multi-byte sequence is UTF-8,
// anything else is the ANSI code page (every list the program wrote before it knew UTF-8).
enum class TextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

struct DetectedEncoding {
  TextEncoding encoding = TextEncoding::Ansi;
  std::size_t bomLength = 0;  // bytes of the byte-order mark, 0 without one
};

// From the byte-order mark alone (a prefix of the file is enough); Ansi without one.
DetectedEncoding EncodingFromBom(std::string_view bytes);
// The encoding of the whole text: its byte-order mark, else its bytes as above.
DetectedEncoding DetectTextEncoding(std::string_view bytes);

// A byte or code unit that is no character of a list's encoding stands in its UTF-8 text as this
// byte, which no UTF-8 text holds: a name holding it can name no file, where a replacement
// character could name one by chance.
inline constexpr char kNoCharacter = '\xFF';

// UTF-16 bytes (after any byte-order mark) as UTF-8; an odd last byte is dropped, a lone
// surrogate becomes kNoCharacter.
std::string Utf8FromUtf16Bytes(std::string_view bytes, bool bigEndian);
