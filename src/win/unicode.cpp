#include "win/unicode.h"

#include <windows.h>

#include "core/text_encoding.h"
#include "core/utf8.h"

namespace win {

std::wstring WideFromUtf8(std::string_view utf8) {
  const std::u16string units = Utf16FromUtf8(utf8);
  return std::wstring(units.begin(), units.end());
}

std::string Utf8FromWide(std::wstring_view wide) {
  return Utf8FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

std::string Utf8FromAnsi(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
  return Utf8FromWide(wide);
}

namespace {

// The ANSI text as UTF-16; nullopt when a byte is no character of the code page.
std::optional<std::wstring> WideFromAnsiStrict(std::string_view ansi) {
  if (ansi.empty()) return std::wstring();
  const int size = static_cast<int>(ansi.size());
  const int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), size, wide.data(), length);
  return wide;
}

}  // namespace

std::string Utf8FromAnsiMarked(std::string_view ansi) {
  if (const std::optional<std::wstring> wide = WideFromAnsiStrict(ansi)) return Utf8FromWide(*wide);
  // Character by character: what converts stays, what does not is marked.
  std::string text;
  std::size_t i = 0;
  while (i < ansi.size()) {
    const bool pair = IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(ansi[i])) && i + 1 < ansi.size();
    const std::size_t length = pair ? 2 : 1;
    if (const std::optional<std::wstring> wide = WideFromAnsiStrict(ansi.substr(i, length))) {
      text += Utf8FromWide(*wide);
      i += length;
    } else {
      text += kNoCharacter;
      ++i;  // a lead byte with a wrong second byte: the second byte is read again on its own
    }
  }
  return text;
}

namespace {

std::string ToCodePage(std::string_view utf8, UINT codePage, DWORD flags, BOOL* usedDefault) {
  if (utf8.empty()) return {};
  const std::wstring wide = WideFromUtf8(utf8);
  const int wideLength = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(codePage, flags, wide.data(), wideLength, nullptr, 0, nullptr, usedDefault);
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), wideLength, text.data(), length, nullptr, usedDefault);
  return text;
}

std::string ToAnsi(std::string_view utf8, DWORD flags, BOOL* usedDefault) {
  return ToCodePage(utf8, CP_ACP, flags, usedDefault);
}

}  // namespace

std::optional<std::string> AnsiFromUtf8Exact(std::string_view utf8) {
  // ASCII is the same in every ANSI code page: nothing to convert or check.
  if (!HasNonAscii(utf8)) return std::string(utf8);
  BOOL usedDefault = FALSE;
  std::string ansi = ToAnsi(utf8, WC_NO_BEST_FIT_CHARS, &usedDefault);
  // The way back must give the same text: no character may have been replaced on the way.
  if (usedDefault || Utf8FromAnsi(ansi) != utf8) return std::nullopt;
  return ansi;
}

std::string AnsiFromUtf8(std::string_view utf8) { return ToAnsi(utf8, 0, nullptr); }

std::string TextInCodePage(std::string_view utf8, unsigned codePage) {
  // UTF-8 takes no flags and reports no default character.
  if (codePage == CP_UTF8) return std::string(utf8);
  return ToCodePage(utf8, codePage, 0, nullptr);
}

}  // namespace win
