#include "hash/table.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <utility>

namespace {

constexpr const char* kHeading = "64 KiB hot";

// "name with spaces   1.23   4.56": the name (words one space apart), then both figures.
std::optional<TRow> ParseRow(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  if (words.size() < 3) return std::nullopt;
  TRow row;
  for (auto [figure, text] : {std::pair{&row.Hot, words[words.size() - 2]}, std::pair{&row.Big, words.back()}}) {
    char* end = nullptr;
    *figure = std::strtod(text.c_str(), &end);
    if (*end != '\0') return std::nullopt;
  }
  for (std::size_t i = 0; i + 2 < words.size(); ++i) row.Name += (i == 0 ? "" : " ") + words[i];
  return row;
}

}  // namespace

void PrintTable(const std::vector<TRow>& rows) {
  std::printf("%-20s %12s %12s\n", "", kHeading, "256 MiB");
  for (const auto& row : rows) std::printf("%-20s %12.2f %12.2f\n", row.Name.c_str(), row.Hot, row.Big);
}

std::optional<std::vector<TRow>> ReadTable(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line) && line.find(kHeading) == std::string::npos) {
  }
  std::vector<TRow> rows;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto row = ParseRow(line);
    if (!row) break;
    rows.push_back(*row);
  }
  if (rows.empty()) return std::nullopt;
  return rows;
}
