#pragma once

#include <string>
#include <vector>

#include "core/checksum_list.h"
#include "core/listtext.h"

// A list of the kind from its entry lines, as a reader would get it from a file: a table's
// header for CRC kinds, the lines alone for MD5.
inline ChecksumList ListOfLines(THashType kind, const std::vector<std::string>& lines) {
  std::string text = kind == THashType::MD5 ? "" : "Name  " + HashColumnTitle(kind) + "  Bytes\r\n-  -  -\r\n";
  for (const std::string& line : lines) text += line + "\r\n";
  return ParseChecksumList(std::move(text));
}

// The table lines of the entries.
inline std::vector<std::string> TableLines(const std::vector<ListEntry>& entries) {
  std::vector<std::string> lines;
  for (const ListEntry& entry : entries) lines.push_back(entry.name + "  " + entry.hash + "  " + entry.size);
  return lines;
}
