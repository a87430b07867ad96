#include "core/numfmt.h"

std::string FormatGrouped(std::uint64_t value, std::string_view thousandsSeparator) {
  const std::string digits = std::to_string(value);
  std::string text;
  text.reserve(digits.size() + (digits.size() / 3) * thousandsSeparator.size());
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) text += thousandsSeparator;
    text += digits[i];
  }
  return text;
}

std::string TotalLine(std::size_t files, std::uint64_t bytes, std::string_view thousandsSeparator) {
  return "Total  " + std::to_string(files) + " Files  " + FormatGrouped(bytes, thousandsSeparator) + " Bytes";
}
