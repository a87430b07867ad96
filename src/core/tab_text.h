#pragma once

#include <string>
#include <string_view>
#include <vector>

// Rows as tab-separated text, as spreadsheets and editors paste it: cells split by a tab, rows
// ended by CR LF. A tab or line end inside a cell (a name from another tool's list may hold one)
// becomes a space, so that every row stays one line of as many cells.
std::string TabSeparatedText(const std::vector<std::vector<std::string>>& rows);
