#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "win/registry.h"

// Explorer's right-click menus for the current user alone ("-register", "-unregister"): "Ruvo で
// リスト作成" on files and folders (the kind pressed in the main window) with a sub-menu of the
// kinds, "Ruvo で照合" on the lists verification reads, and Ruvo among "プログラムから開く"
// for their extensions, never as their default program.

// Every value that "-register" writes for the program at exePath, and so every value that
// "-unregister" removes; the keys are made and removed with them.
std::vector<win::ClassValue> ShellMenuValues(const std::string& exePath);

struct TShellMenuOutcome {
  LSTATUS error = ERROR_SUCCESS;  // the first failure; the other values were still tried
  [[nodiscard]] bool Ok() const { return error == ERROR_SUCCESS; }
};

TShellMenuOutcome RegisterShellMenus(const std::string& exePath);
TShellMenuOutcome UnregisterShellMenus(const std::string& exePath);

// The one line either command prints.
std::string ShellMenuOutcomeLine(bool registering, const TShellMenuOutcome& outcome);
