#pragma once

#include <string>
#include <string_view>

#include "core/checksum_list.h"
#include "core/text_encoding.h"

// From a list file's bytes to its entries: the bytes in any encoding become UTF-8 text, the text
// a ChecksumList. The Windows build decodes the ANSI code page with the system; anything else
// (tests, the fuzzer) may pass its own decoder.

// Decodes ANSI text made of whole lines to UTF-8, every byte that is no character as kNoCharacter.
using AnsiDecoder = std::string (*)(std::string_view ansi);

// The list's text as UTF-8 by its encoding (DetectTextEncoding), without a byte-order mark. ASCII
// and UTF-8 lists are used in place; other text is decoded piece by piece, so that the bytes and
// the text are the only large buffers at any time.
std::string DecodeListBytes(std::string bytes, AnsiDecoder decodeAnsi);

// DecodeListBytes, then ParseChecksumList: the whole way from a file's bytes to its entries.
ChecksumList ParseChecksumListBytes(std::string bytes, AnsiDecoder decodeAnsi, std::string_view listFileName = {});
