#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Explorer starts a command verb once per selected item, each a process of its own with one path.
// These processes find each other by a name made of what they were asked to do: the first one
// gathers the paths of the others until none has come for a while, and runs one job with all of
// them; the others hand their paths over and end.
namespace win {

// The paths to run: own first, then those handed over by the others, in the order they came;
// nullopt when another process took them (this one has nothing left to do). key tells apart
// selections that must not join (another verb, other options). quiet is how long the first one
// waits after the last path came.
std::optional<std::vector<std::string>> GatherSelection(std::string_view key, std::vector<std::string> own,
                                                        std::chrono::milliseconds quiet);

}  // namespace win
