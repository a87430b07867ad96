#include "core/tab_text.h"

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
