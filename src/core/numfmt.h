#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Decimal digits grouped by three with the separator: 1234567 -> "1,234,567"; 0 -> "0".
std::string FormatGrouped(std::uint64_t value, std::string_view thousandsSeparator);

// "Total  %d Files  %s Bytes": the file count plain, the byte sum grouped.
std::string TotalLine(std::size_t files, std::uint64_t bytes, std::string_view thousandsSeparator);
