#pragma once

#include <string>
#include <string_view>

#include "win/unicode.h"

// Tests name files in UTF-8, as the program does; the file system is asked through the W calls.
inline std::wstring W(std::string_view utf8) { return win::WideFromUtf8(utf8); }
inline std::string U8(std::wstring_view wide) { return win::Utf8FromWide(wide); }
