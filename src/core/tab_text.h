#pragma once

#include <string>
#include <string_view>
#include <vector>

// Rows as tab-separated text, as spreadsheets and editors paste it: cells split by a tab, rows
// ended by CR LF. A tab or line end inside a cell (a name from another tool's list may hold one)
// becomes a space, so that every row stays one line of as many cells.
std::string TabSeparatedText(const std::vector<std::vector<std::string>>& rows);

// Rows as comma-separated values (RFC 4180): a cell holding a comma, a double quote, a CR or a
// LF is put in double quotes with its quotes doubled; rows end in CR LF. The names come from
// lists of anybody, so the text is made safe to open: a cell that a spreadsheet would take for a
// formula (beginning with "=", "+", "-", "@", a tab or a CR) gets a leading "'", and a byte that
// is no character becomes U+FFFD, so the text is valid UTF-8. Cells keep every other byte.
std::string CommaSeparatedText(const std::vector<std::vector<std::string>>& rows);

// A size as digits alone ("1,234,567" gives "1234567"), so that a report's sizes read as
// numbers in any locale; a text that is not digits and group separators stays as it is.
std::string PlainDigits(std::string_view size);
