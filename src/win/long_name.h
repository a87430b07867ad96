#pragma once

#include <string>
#include <vector>

namespace win {

// The long form of a path, component by component as the file system stores the names: short
// (8.3) names and letter case are replaced, the drive part stays as passed, an existing folder
// ends in "\", and a component that is not found stays as passed followed by "\". Network
// paths (beginning with "\\") come back unchanged. Never fails.
std::string LongFileName(const std::string& path);

// Replaces every path of the list by its long form, in place and in order.
void ExpandLongNames(std::vector<std::string>& list);

}  // namespace win
