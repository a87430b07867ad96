#pragma once

#include <string>
#include <string_view>
#include <vector>

// What "-h" says: every option word on a line of its own, the exit codes and where the settings
// file is. One string per line, UTF-8, without line ends.
std::vector<std::string> UsageLines(std::string_view settingsPath);
