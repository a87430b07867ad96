#pragma once

#include <string>
#include <string_view>

#include "core/codepage.h"

// The name of `path` relative to `baseFolder` (taken with a trailing "\"), as a checksum list
// writes it: the full path when the drive parts differ (ignoring case); otherwise ".." for
// every base folder left after the common leading folders (compared ignoring ASCII case), then
// the path's remaining folders and its file name.
std::string RelativeName(std::string_view baseFolder, std::string_view path, LeadByteTest isLead);

// Equality ignoring the case of ASCII letters; the bytes of a double-byte character must match
// exactly, so the trail byte of one is never folded.
bool SameTextIgnoringAsciiCase(std::string_view a, std::string_view b, LeadByteTest isLead);
