#pragma once

#include <string>
#include <string_view>

#include "core/codepage.h"

// Path splitting over ANSI bytes. "\" and ":" are the delimiters; a byte of that value that is
// the second byte of a double-byte character (the 0x5C of the Shift-JIS 表 or ソ) is none.

// "C:" for a path that begins with a letter and a colon, "\\server\share" for a network path,
// otherwise empty.
std::string ExtractFileDrive(std::string_view path, LeadByteTest isLead);
// Everything up to and including the last delimiter; empty when there is none.
std::string ExtractFilePath(std::string_view path, LeadByteTest isLead);
// Everything after the last delimiter; the whole path when there is none.
std::string ExtractFileName(std::string_view path, LeadByteTest isLead);
// The path without one final "\".
std::string ExcludeTrailingPathDelimiter(std::string_view path, LeadByteTest isLead);
// The path with a final "\" appended unless it already ends in one.
std::string IncludeTrailingPathDelimiter(std::string_view path, LeadByteTest isLead);
// The name without its extension: drops from the last "." of the last component on.
std::string RemoveFileExtension(std::string_view name, LeadByteTest isLead);

// True when the last character of the path is a real "\" (not the trail byte of a pair).
bool HasTrailingPathDelimiter(std::string_view path, LeadByteTest isLead);
