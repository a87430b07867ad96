#include "core/tab_text.h"

#include <algorithm>

#include "core/utf8.h"

namespace {

std::string SpreadsheetCell(const std::string& cell) {
  std::string safe = IsValidUtf8(cell) ? cell : Utf8FromUtf16(Utf16FromUtf8(cell));
  if (!safe.empty() && std::string_view("=+-@\t\r").find(safe[0]) != std::string_view::npos) safe.insert(0, 1, '\'');
  return safe;
}

}  // namespace

std::string TabSeparatedText(const std::vector<std::vector<std::string>>& rows) {
  std::string text;
  for (const std::vector<std::string>& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) text += '\t';
      for (const char c : row[i]) text += c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
    }
    text += "\r\n";
  }
  return text;
}

std::string CommaSeparatedText(const std::vector<std::vector<std::string>>& rows) {
  std::string text;
  for (const std::vector<std::string>& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (i > 0) text += ',';
      const std::string cell = SpreadsheetCell(row[i]);
      if (cell.find_first_of(",\"\r\n") == std::string::npos) {
        text += cell;
        continue;
      }
      text += '"';
      for (const char c : cell) {
        if (c == '"') text += '"';
        text += c;
      }
      text += '"';
    }
    text += "\r\n";
  }
  return text;
}

std::string PlainDigits(std::string_view size) {
  const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  const auto isGroupMark = [](char c) { return c == ',' || c == '.' || c == ' ' || c == '\''; };
  const bool grouped = std::any_of(size.begin(), size.end(), isDigit) &&
                       std::all_of(size.begin(), size.end(), [&](char c) { return isDigit(c) || isGroupMark(c); });
  if (!grouped) return std::string(size);
  std::string digits;
  for (const char c : size) {
    if (isDigit(c)) digits += c;
  }
  return digits;
}
