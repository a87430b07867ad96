#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8, the program's own encoding of paths, names and list text, and its two neighbours: the
// UTF-16 that Windows speaks and the display width that a fixed-pitch editor gives a text.

// UTF-16 code units as UTF-8. A lone surrogate (possible in NTFS names) becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);
// UTF-8 as UTF-16 code units; an invalid sequence becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view text);

// Appends the code point as UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// True when the text is well-formed UTF-8 (no overlong forms, no surrogates, nothing past
// U+10FFFF).
bool IsValidUtf8(std::string_view text);
// The text with every control character and every byte that is no character written as an
// escape, so that it stays one field of one line and moves no terminal: "\t", "\n", "\r",
// "\x1b" (other C0 codes, DEL and bytes that are no character), "\u009b" (C1 codes). Everything
// else stays as it is, "\" included: no file name holds a control character.
std::string EscapedControls(std::string_view text);
// True when the text holds a byte of 0x80 or above.
bool HasNonAscii(std::string_view text);
// True when the UTF-16 text holds a surrogate without its partner.
bool HasLoneSurrogate(std::u16string_view text);

// The columns a fixed-pitch editor gives the UTF-8 text: two for an East Asian wide or
// fullwidth character, none for a combining mark, one for any other (an invalid byte counts
// one).
std::size_t DisplayColumns(std::string_view text);

// The byte-order mark of UTF-8.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// A u8 text as the plain bytes the program passes around.
inline std::string AsUtf8String(std::u8string_view text) { return std::string(text.begin(), text.end()); }
