#include "support/display_scale.h"

#include <algorithm>
#include <chrono>

#include "win/handle.h"

namespace testsupport {
namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";
constexpr wchar_t kDpiVariable[] = L"RUVO_TEST_DPI";
// Far more than a run needs; a process that hangs is killed so that the test reports.
constexpr auto kLongestRun = std::chrono::minutes(5);

bool HasWindow(DWORD processId) {
  struct Search {
    DWORD processId;
    bool found;
  } search{processId, false};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        s->found = owner == s->processId;
        return s->found ? FALSE : TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Whatever the pipe holds now, appended to the output.
void Drain(HANDLE pipe, std::string& output) {
  DWORD available = 0;
  while (PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
    char buffer[4096];
    DWORD read = 0;
    if (!ReadFile(pipe, buffer, std::min<DWORD>(available, sizeof buffer), &read, nullptr) || read == 0) return;
    output.append(buffer, read);
  }
}

}  // namespace

LogPixelsScope::LogPixelsScope(DWORD dpi) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    restored_ = true;  // nothing was changed
    return;
  }
  DWORD value = 0, type = 0, size = sizeof value;
  if (RegQueryValueExW(key, kLogPixels, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
      type == REG_DWORD) {
    previous_ = value;
  }
  RegSetValueExW(key, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  RegCloseKey(key);
}

void LogPixelsScope::Restore() noexcept {
  if (restored_) return;
  restored_ = true;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  if (previous_) {
    RegSetValueExW(key, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*previous_), sizeof *previous_);
  } else {
    RegDeleteValueW(key, kLogPixels);
  }
  RegCloseKey(key);
}

ScaledRun RunAtDpi(int dpi, const std::wstring& commandLine) {
  ScaledRun run;
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return run;
  const win::KernelHandle reader(readEnd);
  win::KernelHandle writer(writeEnd);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION started{};
  std::wstring line = commandLine;  // CreateProcessW may write into it
  LogPixelsScope scale(static_cast<DWORD>(dpi));
  SetEnvironmentVariableW(kDpiVariable, std::to_wstring(dpi).c_str());
  run.started =
      CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started) != FALSE;
  SetEnvironmentVariableW(kDpiVariable, nullptr);
  writer.reset();  // the child's copy is the only one left: the pipe ends with the child
  if (!run.started) return run;
  const win::KernelHandle process(started.hProcess);
  const win::KernelHandle thread(started.hThread);

  const auto deadline = std::chrono::steady_clock::now() + kLongestRun;
  for (;;) {
    // A process that has a window has read the scale: others must not start with it.
    if (HasWindow(started.dwProcessId)) scale.Restore();
    Drain(reader.get(), run.output);
    if (WaitForSingleObject(process.get(), 20) == WAIT_OBJECT_0) break;
    if (std::chrono::steady_clock::now() > deadline) {
      TerminateProcess(process.get(), 1);
      WaitForSingleObject(process.get(), INFINITE);
      Drain(reader.get(), run.output);
      return run;
    }
  }
  Drain(reader.get(), run.output);
  GetExitCodeProcess(process.get(), &run.exitCode);
  run.finished = true;
  return run;
}

std::wstring ThisExecutable() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return L"\"" + std::wstring(path, length) + L"\"";
}

}  // namespace testsupport
