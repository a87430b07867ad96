#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/listread.h"

// The entry lines of the lists other tools write, and of the program's own digest layout, one
// line at a time. Each rule gives the line's fields with the kind of its digest, or nullopt for a
// line of another shape. Hex digits may be of either case.

// How the digest-first lines of one list are read; what a line alone cannot tell, the whole list
// and its file name decide.
struct DigestLineRules {
  // The list's file name says BLAKE2b (B2SUMS, *.b2, *.blake2b): every digest-first line is
  // BLAKE2b of its length.
  bool blake2b = false;
  // The list's file name says SHA-512 (SHA512SUMS, *.sha512): 128 digits are SHA-512 alone.
  bool sha512 = false;
  // The list's file name says BLAKE3 (B3SUMS, *.b3, *.blake3): 64 digits are BLAKE3, not SHA-256,
  // and no other length is a digest.
  bool blake3 = false;
};

// The rules that the list's file name (the name alone) gives.
DigestLineRules DigestRulesOfListName(std::string_view listFileName);

// The kind of a digest of so many digits that no tag names: by its length, or BLAKE2b of any
// whole number of bytes up to 64, or BLAKE3 of 64 digits, where the list's name says so. None for
// any other length.
THashType DigestFirstKind(std::size_t digits, const DigestLineRules& rules);

// Digest first: GNU coreutils ("digest", a blank, a blank or "*", the name as it stands), the
// program's own layout ("digest", a blank, an optional "*", the name, which the writer gives GNU's
// two blanks when it begins with a blank) and CRC-32 lines of eight digits alike. A leading "\" marks a GNU name
// holding "\\" for "\" and "\n" for a line end (ListFields::escaped); any other escape, or a "\" at the end, is no line
// of this form. The kind follows the digest's length (8, 32, 40, 56, 64, 96 or 128 digits); 128 digits whose kind the
// list's name does not decide are SHA-512 or else BLAKE2b-512 (ListFields::orBlake2b).
std::optional<ListFields> SplitDigestFirstFields(std::string_view line, const DigestLineRules& rules);

// The shape of a tagged line, "TAG (name) = digest": BSD and GNU "--tag" with one blank around
// the name's brackets, RHash with the tag padded by blanks, OpenSSL's "TAG(name)= digest". The
// name runs to the last ")" before the "=". A leading "\" escapes the name as above. The kind is
// None when the tag is no kind known here or the digest has not its tag's length: such a line has
// the shape and is malformed.
std::optional<ListFields> SplitTaggedFields(std::string_view line);

// SFV: the name, a space, eight hex digits (CRC32; no size). The name may hold spaces: the line is
// split at its last space, and blanks before it are no part of the name.
std::optional<ListFields> SplitSfvFields(std::string_view line);

// The digest when the text holds nothing else (blanks and line ends around it) and has a digest
// kind's length, as a downloaded "file.iso.sha256" does; eight digits (CRC32) only when the list's
// file name ends in ".crc32", ".crc" or ".sfv", so that a file holding a date or a version number
// is no list.
std::optional<std::string_view> SoleDigest(std::string_view text, std::string_view listFileName);

// The name of an escaped GNU or BSD line with its escapes undone; nullopt for a dangling "\" or an
// escape other than "\\" and "\n".
std::optional<std::string> UnescapeName(std::string_view name);

// True when the line is nothing but blanks.
bool IsBlankLine(std::string_view line);

// A line that every checking tool passes over: a comment beginning with "#" or ";" (an SFV
// comment among them).
bool IsCommentLine(std::string_view line);
