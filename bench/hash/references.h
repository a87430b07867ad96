#pragma once
// Other libraries' hashing as rows to compare with: zlib's crc32() ("zlib crc32") and OpenSSL's
// digests ("md5 openssl", "sha1 openssl", "sha256 openssl", "sha512 openssl").
#include <string_view>
#include <vector>

#include "hash/measure.h"

// Appends the reference row of that name; nothing where the build has no such library.
void AddReference(std::vector<TRow>& rows, std::string_view name);
