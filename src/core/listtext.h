#pragma once

#include <span>
#include <string>
#include <string_view>

#include "core/codepage.h"
#include "core/hash_type.h"

// One row of a creation page (the program's TCalcItem): the name relative to the base folder
// (with "*" in front in MD5 binary mode), the hash text and the grouped size text.
struct ChecksumRow {
  std::string Name, Hash, Bytes;
};

// How wide a text is in the table: its bytes (a list in the ANSI code page, where a double-byte
// character is as wide as its two bytes) or its display columns (a UTF-8 list).
using TextWidth = std::size_t (*)(std::string_view text);
inline std::size_t ByteWidth(std::string_view text) { return text.size(); }

// The checksum list text, byte for byte: the table layout for CRC16 and CRC32, the MD5 layout for
// MD5 and the SHA kinds, CR LF after every line; b3sum's layout for BLAKE3. Empty for no rows or another kind.
// totalLine closes the table layout; the MD5 layout has none. The texts are taken as they are, in the list's encoding.
std::string RenderChecksumList(THashType kind, std::span<const ChecksumRow> rows, std::string_view totalLine,
                               TextWidth width = ByteWidth);

// "CRC", "CRC32", "MD5"; "" for any other kind.
std::string HashColumnTitle(THashType kind);

// The file name that saving offers: for one row its Name without the binary-mode "*" and without
// the extension of its last path component; otherwise the last component of the base folder (the
// text after its last "\" or ":", empty for a drive root).
std::string DefaultSaveName(std::span<const ChecksumRow> rows, std::string_view baseFolder, LeadByteTest isLeadByte);
