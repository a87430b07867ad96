#pragma once

#include <string>
#include <string_view>

// The one place where the ui layer's text changes its encoding. Windows is spoken to in UTF-16;
// UI literals are UTF-8 (u8"..."), and so is program data (paths, names, list text), kept in
// std::string.
namespace ui {

std::wstring Wide(std::u8string_view utf8);
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);
// A UI literal as data text, for texts that end up in data or are compared with data.
std::string Utf8(std::u8string_view utf8);

// A text handed to a control: converted once, at the call, to the UTF-16 the window needs.
// Which conversion applies follows from the argument's type, so callers never convert by hand:
//   char8_t (u8"...", std::u8string)          UI text, UTF-8
//   char    ("...", std::string, string_view) data, UTF-8
//   wchar_t (L"...", std::wstring)            already UTF-16
// Getters of the controls answer in UTF-8 std::string (data) and, where useful, in UTF-16.
class TextArg {
 public:
  TextArg() = default;
  TextArg(const char8_t* utf8) : value_(Wide(utf8)) {}
  TextArg(std::u8string_view utf8) : value_(Wide(utf8)) {}
  TextArg(const std::u8string& utf8) : value_(Wide(utf8)) {}
  TextArg(const char* utf8) : value_(WideFromUtf8(utf8)) {}
  TextArg(std::string_view utf8) : value_(WideFromUtf8(utf8)) {}
  TextArg(const std::string& utf8) : value_(WideFromUtf8(utf8)) {}
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
