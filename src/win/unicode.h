#pragma once

#include <optional>
#include <string>
#include <string_view>

// The program's text is UTF-8; Windows speaks UTF-16, and old lists and the settings file are
// in the ANSI code page. Every conversion between them is here.
namespace win {

std::wstring WideFromUtf8(std::string_view utf8);
// A lone surrogate (possible in NTFS names) becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view wide);

std::string Utf8FromAnsi(std::string_view ansi);
// The ANSI text as UTF-8, every byte that is no character of the code page (a lead byte without
// its second byte, an unassigned pair) as kNoCharacter. A list's decoder.
std::string Utf8FromAnsiMarked(std::string_view ansi);
// The text in the ANSI code page when every character has its own code there; nullopt when one
// would need a best-fit or default character ("?"), which must never reach a list.
std::optional<std::string> AnsiFromUtf8Exact(std::string_view utf8);
// The text in the ANSI code page, characters without a code there as the default character.
std::string AnsiFromUtf8(std::string_view utf8);
// The text in the given code page (a console's), characters without a code there as its default
// character.
std::string TextInCodePage(std::string_view utf8, unsigned codePage);

}  // namespace win
