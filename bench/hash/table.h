#pragma once
// The table of GB/s that the benchmark prints, and reading one back: the Windows build compares
// itself with the native build's run.
#include <optional>
#include <string>
#include <vector>

#include "hash/measure.h"

void PrintTable(const std::vector<TRow>& rows);

// The rows of a table that PrintTable wrote to the file `path` (names and GB/s, no runs); nothing
// when the file cannot be read or holds no table.
std::optional<std::vector<TRow>> ReadTable(const std::string& path);
