#include "ui/text.h"

#include <windows.h>

namespace ui {
namespace {

std::wstring ToWide(UINT codePage, const char* data, std::size_t size) {
  if (size == 0) return {};
  const int length = static_cast<int>(size);
  const int count = MultiByteToWideChar(codePage, 0, data, length, nullptr, 0);
  std::wstring result(static_cast<std::size_t>(count), L'\0');
  MultiByteToWideChar(codePage, 0, data, length, result.data(), count);
  return result;
}

std::string FromWide(UINT codePage, std::wstring_view wide) {
  if (wide.empty()) return {};
  const int length = static_cast<int>(wide.size());
  const int count = WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<std::size_t>(count), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), length, result.data(), count, nullptr, nullptr);
  return result;
}

}  // namespace

std::wstring Wide(std::u8string_view utf8) {
  return ToWide(CP_UTF8, reinterpret_cast<const char*>(utf8.data()), utf8.size());
}

std::wstring WideFromAnsi(std::string_view ansi) { return ToWide(CP_ACP, ansi.data(), ansi.size()); }

std::string AnsiFromWide(std::wstring_view wide) { return FromWide(CP_ACP, wide); }

std::u8string Utf8FromWide(std::wstring_view wide) {
  const std::string bytes = FromWide(CP_UTF8, wide);
  return std::u8string(bytes.begin(), bytes.end());
}

std::string Ansi(std::u8string_view utf8) { return AnsiFromWide(Wide(utf8)); }

}  // namespace ui
