#pragma once

#include <windows.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "support/wide_path.h"
#include "win/handle.h"

// Files, folders (by ANSI path) and real input for the Windows tests, app_tests and e2e_tests alike.
namespace testfiles {

// Removes a folder (given with its trailing "\") and everything in it, read-only files included.
inline void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAW entry;
  win::FindHandle find(FindFirstFileW(W(folder + "*").c_str(), &entry));
  if (find) {
    do {
      std::string name = U8(entry.cFileName);
      if (name == "." || name == "..") continue;
      std::string path = folder + name;
      SetFileAttributesW(W(path).c_str(), FILE_ATTRIBUTE_NORMAL);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path + "\\");
      } else {
        DeleteFileW(W(path).c_str());
      }
    } while (FindNextFileW(find.get(), &entry));
  }
  find.reset();
  RemoveDirectoryW(W(folder).c_str());
}

// Creates every folder on the way to the path's last delimiter.
inline void MakeParents(const std::string& path) {
  for (size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1)) {
    CreateDirectoryW(W(path.substr(0, at)).c_str(), nullptr);  // an existing folder is fine
  }
}

// A whole file's bytes, or nothing when it cannot be opened.
inline std::optional<std::string> ReadFileBytes(const std::string& path) {
  win::KernelHandle file(CreateFileW(W(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, 0, nullptr));
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD done = 0;
  while (::ReadFile(file.get(), buffer, sizeof buffer, &done, nullptr) && done > 0) bytes.append(buffer, done);
  return bytes;
}

// Creates or replaces a file, folders on the way included; throws when it cannot.
inline void WriteFileBytes(const std::string& path, std::string_view bytes) {
  MakeParents(path);
  win::KernelHandle file(CreateFileW(W(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD done = 0;
  if (!file || !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) ||
      done != bytes.size()) {
    throw std::runtime_error("cannot write " + path);
  }
}

// A fresh folder under the temporary folder, named after the process and a counter, with its
// trailing "\".
inline std::string MakeTempFolder(std::string_view prefix) {
  static int counter = 0;
  char temp[MAX_PATH] = {};
  GetTempPathA(sizeof temp, temp);
  std::string folder = std::string(temp) + std::string(prefix) + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(counter++) + "\\";
  RemoveTree(folder);
  if (!CreateDirectoryW(W(folder).c_str(), nullptr)) throw std::runtime_error("cannot create " + folder);
  return folder;
}

// One real key press and release through the system input queue, to the foreground window,
// with Ctrl and Shift held around it when asked.
inline void SendKeyPress(WORD virtualKey, bool shift = false, bool ctrl = false) {
  std::vector<INPUT> inputs;
  auto key = [&](WORD code, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = code;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(code, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    // The arrow keys are extended keys: without the flag they arrive as the keypad's.
    if (code == VK_UP || code == VK_DOWN || code == VK_LEFT || code == VK_RIGHT)
      input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
    inputs.push_back(input);
  };
  if (ctrl) key(VK_CONTROL, false);
  if (shift) key(VK_SHIFT, false);
  key(virtualKey, false);
  key(virtualKey, true);
  if (shift) key(VK_SHIFT, true);
  if (ctrl) key(VK_CONTROL, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// A real left double click at a screen point through the system input queue: two clicks in one
// batch, well inside the double-click time and place.
inline void SendDoubleClick(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  INPUT inputs[4] = {};
  for (int i = 0; i < 4; ++i) {
    inputs[i].type = INPUT_MOUSE;
    inputs[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  }
  SendInput(4, inputs, sizeof(INPUT));
}

}  // namespace testfiles
