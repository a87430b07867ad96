#include "ui/text.h"

#include "win/unicode.h"

namespace ui {

// The conversions themselves are the platform layer's; the ui layer only names them for its
// callers.
std::wstring WideFromUtf8(std::string_view utf8) { return win::WideFromUtf8(utf8); }

std::wstring Wide(std::u8string_view utf8) {
  return WideFromUtf8(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

std::string Utf8FromWide(std::wstring_view wide) { return win::Utf8FromWide(wide); }

std::string Utf8(std::u8string_view utf8) { return std::string(utf8.begin(), utf8.end()); }

}  // namespace ui
