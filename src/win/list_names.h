#pragma once

#include <cstdint>
#include <string_view>

// What a name read from a list may reach. A list often arrives with the files it names, from
// anybody: its names must not make the program open another computer's share (Windows would
// start a session there and send the user's credentials) nor a device or a pipe (opening one acts
// even when the handle is refused). Paths the user chose (dialogs, drops, the command line) are
// not limited.
namespace win {

enum class ListNameReach : std::uint8_t {
  Allowed,  // a path on a local drive, or on the share the list itself lies on
  Network,  // another server or share
  BadName,  // "\\?\", "\\.\" or "\??\" forms, or no file name at all: wildcards, a stream, a device name
};

// The verdict on an entry's name in a list whose folder is listFolder (absolute, with its trailing
// "\"). Taken from the texts alone: nothing is opened, listed or asked of the file system.
ListNameReach CheckListName(std::string_view listFolder, std::string_view name);

}  // namespace win
