#pragma once

#include <string>

#include "core/checksum_list.h"
#include "engine/hash_file.h"

// The checksum list reader's file access; the line rules live in core/listread.h.

// The probe: true when the file's first bytes (the detection window) hold a list's start
// (IsChecksumListStart). The file is opened for reading with other writers refused; any failure
// gives false (ReadChecksumList tells why). Only a file that passes it is loaded whole.
bool IsChecksumListFile(const std::string& path);

// Reads the whole file's bytes. False when it cannot be read in full or is, or grows while it is
// read, past any list's size.
bool LoadChecksumList(const std::string& path, std::string& bytes);

// What reading a file as a list gave: the list (kind None when the file is no list), or why the
// file could not be read (failure not None, the list empty). A file that cannot be read may well
// be a list, so it is never taken for no list.
struct TListRead {
  ChecksumList list;
  THashFailure failure = THashFailure::None;
};

// The list at path: probed, loaded, decoded (the ANSI code page by the system) and parsed. A file
// longer than any list is no list.
[[nodiscard]] TListRead ReadChecksumList(const std::string& path);
