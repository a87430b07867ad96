#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/listread.h"

// The checksum files other tools write, line by line. Each rule gives the line's fields with the
// kind of its digest, or nullopt for a line of another shape. Hex digits may be of either case.

// GNU coreutils (md5sum, sha1sum, sha256sum, sha512sum): digest, a space, a space or "*", the
// name as it stands. A leading "\" marks a name holding "\\" for "\" and "\n" for a line end
// (ListFields::escaped); any other escape, or a "\" at the end, is no line of this form. The kind
// follows the digest's length: 32, 40, 64 or 128 digits.
std::optional<ListFields> SplitGnuFields(std::string_view line);

// BSD tags, as "--tag" writes them: "MD5 (name) = digest", also SHA1, SHA256 and SHA512, the tag in
// any case, the name up to the last ") = ". A leading "\" escapes the name as above. The digest
// must have its tag's length.
std::optional<ListFields> SplitBsdFields(std::string_view line);

// SFV: the name, a space, eight hex digits (CRC32; no size). The name may hold spaces: the line is
// split at its last space, and blanks before it are no part of the name.
std::optional<ListFields> SplitSfvFields(std::string_view line);
// A line of an SFV file that holds no entry: a comment (";") or nothing but blanks.
bool IsSfvNote(std::string_view line);

// The digest when the text holds nothing else (blanks and line ends around it) and has a digest
// kind's length, as a downloaded "file.iso.sha256" does.
std::optional<std::string_view> SoleDigest(std::string_view text);

// The name of an escaped GNU or BSD line with its escapes undone; nullopt for a dangling "\" or an
// escape other than "\\" and "\n".
std::optional<std::string> UnescapeName(std::string_view name);

// True when the line is nothing but blanks.
bool IsBlankLine(std::string_view line);
