#pragma once
// What the helpers that watch the program's windows share: finding a visible top-level window of
// one process by its caption, and the caption of a finished verification. Captions are read
// through the window manager, never by a message, which would wait for the program's busy thread.
#include <windows.h>

#include <string>

inline std::wstring WindowCaption(HWND window) {
  wchar_t caption[1024] = {};
  GetWindowTextW(window, caption, 1024);
  return caption;
}

// The first visible top-level window of the process whose caption `accept` takes, or null.
inline HWND FindProcessWindow(DWORD processId, bool (*accept)(const std::wstring& caption)) {
  struct Search {
    DWORD processId;
    bool (*accept)(const std::wstring&);
    HWND found = nullptr;
  } search{processId, accept};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != s.processId || !IsWindowVisible(window) || !s.accept(WindowCaption(window))) return TRUE;
        s.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The verification window's caption once every list has been verified: " - Compare - " without
// "Wait" ("Ruvo - Compare - Result", then "LIST - Compare - Ruvo"). The creation window has no
// such caption: during a run it already names the page's folder.
inline bool IsVerificationResult(const std::wstring& caption) {
  return caption.find(L" - Compare - ") != std::wstring::npos &&
         caption.find(L" - Compare - Wait") == std::wstring::npos;
}
