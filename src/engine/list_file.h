#pragma once

#include <string>

#include "core/checksum_list.h"

// The checksum list reader's file access; the line rules live in core/listread.h.

// The quick probe: true when the file begins with "Name " or with an MD5 line. The file is
// opened for reading with other writers refused; any failure gives false.
bool IsChecksumListFile(const std::string& path);

// Reads the whole file's bytes. False when it cannot be read in full, or when it stops looking
// like a checksum list while it is read or grows past any list's size, so that a large file that
// merely begins like one is never loaded whole.
bool LoadChecksumList(const std::string& path, std::string& bytes);

// The list at path: probed, loaded, decoded (the ANSI code page by the system) and parsed. Kind
// None when the file is no list, also when it passed the probe but cannot be read in full.
ChecksumList ReadChecksumList(const std::string& path);
