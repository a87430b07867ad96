#pragma once

#include <string>

#include "core/checksum_list.h"

// The checksum list reader's file access; the line rules live in core/listread.h.

// The probe: true when the file's first bytes (the detection window) hold a list's start
// (IsChecksumListStart). The file is opened for reading with other writers refused; any failure
// gives false. Only a file that passes it is loaded whole.
bool IsChecksumListFile(const std::string& path);

// Reads the whole file's bytes. False when it cannot be read in full or is, or grows while it is
// read, past any list's size.
bool LoadChecksumList(const std::string& path, std::string& bytes);

// The list at path: probed, loaded, decoded (the ANSI code page by the system) and parsed. Kind
// None when the file is no list, also when it passed the probe but cannot be read in full.
ChecksumList ReadChecksumList(const std::string& path);
