#pragma once

#include <string>
#include <string_view>

// The one place where text changes its encoding. Windows is spoken to in UTF-16; UI literals
// are UTF-8 (u8"..."); program data (paths, names, list text) are bytes in the system ANSI code
// page (CP_ACP, Shift-JIS here).
namespace ui {

std::wstring Wide(std::u8string_view utf8);
std::wstring WideFromAnsi(std::string_view ansi);
std::string AnsiFromWide(std::wstring_view wide);
std::u8string Utf8FromWide(std::wstring_view wide);
// A UI literal as ANSI data, for texts that end up in data or are compared with data.
std::string Ansi(std::u8string_view utf8);

// A text handed to a control: converted once, at the call, to the UTF-16 the window needs.
// Which conversion applies follows from the argument's type, so callers never convert by hand:
//   char8_t (u8"...", std::u8string)          UI text, UTF-8
//   char    ("...", std::string, string_view) data, ANSI code page
//   wchar_t (L"...", std::wstring)            already UTF-16
// Getters of the controls answer in ANSI std::string (data) and, where useful, in UTF-16.
class TextArg {
 public:
  TextArg() = default;
  TextArg(const char8_t* utf8) : value_(Wide(utf8)) {}
  TextArg(std::u8string_view utf8) : value_(Wide(utf8)) {}
  TextArg(const std::u8string& utf8) : value_(Wide(utf8)) {}
  TextArg(const char* ansi) : value_(WideFromAnsi(ansi)) {}
  TextArg(std::string_view ansi) : value_(WideFromAnsi(ansi)) {}
  TextArg(const std::string& ansi) : value_(WideFromAnsi(ansi)) {}
  TextArg(const wchar_t* wide) : value_(wide) {}
  TextArg(std::wstring_view wide) : value_(wide) {}
  TextArg(std::wstring wide) : value_(std::move(wide)) {}

  [[nodiscard]] const std::wstring& Value() const& { return value_; }
  [[nodiscard]] std::wstring Value() && { return std::move(value_); }
  [[nodiscard]] bool Empty() const { return value_.empty(); }

 private:
  std::wstring value_;
};

}  // namespace ui
