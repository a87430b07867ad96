#pragma once

#include <string>
#include <vector>

#include "win/folder.h"

// The user's locale as the program meets it: the thousands separator and the
// order of paths (UTF-8).
namespace win {

// The user locale's thousands separator, UTF-8 ("," in the Japanese setting).
std::string ThousandsSeparator();

// Orders paths by the user's locale collation, ignoring case; paths that collate equal keep
// their order.
void SortPathsLocale(std::vector<std::string>& paths, const ListingBreak& takeBreak = {});

}  // namespace win
