#include "e2e/e2e_support.h"

#include <commctrl.h>

#include "support/wide_path.h"

#include "e2e/test_win32.h"

#include <algorithm>
#include <stdexcept>
#include <thread>
#include <utility>

namespace e2e {
namespace {

std::string ModuleFolder() {
  char buffer[MAX_PATH * 2] = {};
  DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  std::string path(buffer, length);
  return path.substr(0, path.find_last_of('\\') + 1);
}

std::u8string Utf8FromWide(std::wstring_view text) {
  if (text.empty()) return {};
  int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr, nullptr);
  return std::u8string(bytes.begin(), bytes.end());
}

}  // namespace

RuvoSandbox::RuvoSandbox() : RuvoSandbox(testfiles::MakeTempFolder("ruvo-e2e-")) {}

RuvoSandbox::RuvoSandbox(std::string folder) : folder_(std::move(folder)) {
  testfiles::RemoveTree(folder_);
  testfiles::MakeParents(folder_);
  std::string source = ModuleFolder() + "ruvo.exe";
  if (!CopyFileA(source.c_str(), ExePath().c_str(), FALSE)) {
    throw std::runtime_error("cannot copy " + source + " (build the ruvo target)");
  }
}

RuvoSandbox::~RuvoSandbox() { testfiles::RemoveTree(folder_); }

std::string RuvoSandbox::Path(std::string_view relative) const { return folder_ + std::string(relative); }

void RuvoSandbox::WriteFile(std::string_view relative, std::string_view bytes) const {
  testfiles::WriteFileBytes(Path(relative), bytes);
}

std::optional<std::string> RuvoSandbox::ReadFile(std::string_view relative) const {
  return testfiles::ReadFileBytes(Path(relative));
}

void RuvoSandbox::MoveExe(std::string_view relative) {
  const std::string folder = Path(relative);
  testfiles::MakeParents(folder);
  const std::string moved = folder + "ruvo.exe";
  if (!CopyFileW(W(ExePath()).c_str(), W(moved).c_str(), FALSE)) throw std::runtime_error("cannot copy " + moved);
  exePath_ = moved;
}

void RuvoSandbox::WriteIni(std::string_view text) const { testfiles::WriteFileBytes(IniPath(), text); }

std::optional<std::string> RuvoSandbox::ReadIni() const { return testfiles::ReadFileBytes(IniPath()); }

void RuvoSandbox::MakeFolder(std::string_view relative) const {
  std::string path = Path(relative);
  if (path.back() != '\\') path += '\\';
  testfiles::MakeParents(path);
}

RuvoProcess RuvoSandbox::Start(std::string_view arguments, std::string_view workingFolder) const {
  return Launch(arguments, workingFolder, nullptr);
}

RuvoProcess RuvoSandbox::StartWithoutOutput(std::string_view arguments) const {
  return Launch(arguments, {}, nullptr, true);
}

RuvoProcess RuvoSandbox::Launch(std::string_view arguments, std::string_view workingFolder, HANDLE output,
                                bool detached) const {
  std::string commandLine;
  commandLine.append(1, '"').append(ExePath()).append(1, '"');
  if (!arguments.empty()) commandLine.append(1, ' ').append(arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (output != nullptr || detached) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = output;
  }
  PROCESS_INFORMATION info{};
  std::wstring wideCommandLine = W(commandLine);  // CreateProcessW may write into it
  if (!CreateProcessW(W(ExePath()).c_str(), wideCommandLine.data(), nullptr, nullptr, output != nullptr,
                      detached ? DETACHED_PROCESS : 0, nullptr, W(Path(workingFolder)).c_str(), &startup, &info)) {
    throw std::runtime_error("cannot start " + commandLine);
  }
  CloseHandle(info.hThread);
  return RuvoProcess(win::KernelHandle(info.hProcess), info.dwProcessId);
}

RunResult RuvoSandbox::Run(std::string_view arguments, std::chrono::milliseconds timeout) const {
  return RunIn({}, arguments, timeout);
}

RunResult RuvoSandbox::RunIn(std::string_view workingFolder, std::string_view arguments,
                             std::chrono::milliseconds timeout) const {
  return Start(arguments, workingFolder).Wait(timeout);
}

CapturedRun RuvoSandbox::RunCaptured(std::string_view arguments, bool readerGone, std::chrono::milliseconds timeout,
                                     std::string_view workingFolder) const {
  SECURITY_ATTRIBUTES inherit{
      .nLength = sizeof(SECURITY_ATTRIBUTES), .lpSecurityDescriptor = nullptr, .bInheritHandle = TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) throw std::runtime_error("cannot make a pipe");
  win::KernelHandle reader(readEnd);
  win::KernelHandle writer(writeEnd);
  SetHandleInformation(reader.get(), HANDLE_FLAG_INHERIT, 0);
  if (readerGone) reader.reset();
  RuvoProcess process = Launch(arguments, workingFolder, writer.get());
  writer.reset();
  CapturedRun run;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  // Read until the process has ended and the pipe is empty: the pipe's end may come much later,
  // since a helper that Wine starts with the first window (its desktop) inherits the handle too.
  while (reader && std::chrono::steady_clock::now() < deadline) {
    const bool ended = !process.Running();
    DWORD available = 0;
    if (!PeekNamedPipe(reader.get(), nullptr, 0, nullptr, &available, nullptr)) break;  // every writer is gone
    if (available == 0) {
      if (ended) break;
      std::this_thread::sleep_for(10ms);
      continue;
    }
    std::string chunk(available, '\0');
    DWORD got = 0;
    if (!::ReadFile(reader.get(), chunk.data(), available, &got, nullptr)) break;
    run.output.append(chunk, 0, got);
  }
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  run.result = process.Wait(std::max(left, std::chrono::milliseconds(1000)));
  return run;
}

RuvoProcess::RuvoProcess(win::KernelHandle process, DWORD processId)
    : process_(std::move(process)), processId_(processId) {}

RuvoProcess::~RuvoProcess() {
  if (process_ && Running()) Kill();
}

RunResult RuvoProcess::Wait(std::chrono::milliseconds timeout) {
  RunResult result;
  if (!process_) return result;
  if (WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
    Kill();
    return result;
  }
  result.finished = true;
  GetExitCodeProcess(process_.get(), &result.exitCode);
  return result;
}

bool RuvoProcess::Running() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

void RuvoProcess::Kill() {
  if (!process_) return;
  TerminateProcess(process_.get(), 255);
  WaitForSingleObject(process_.get(), 10000);
}

std::vector<HWND> RuvoProcess::VisibleWindows() const {
  struct Search {
    DWORD processId;
    std::vector<HWND> windows;
  } search{processId_, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s.processId && IsWindowVisible(window)) s.windows.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.windows;
}

HWND RuvoProcess::WaitForWindow(std::u8string_view caption, std::chrono::milliseconds timeout) const {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  do {
    for (HWND window : VisibleWindows()) {
      if (WindowCaption(window) == caption) return window;
    }
    if (!Running()) return nullptr;
    std::this_thread::sleep_for(50ms);
  } while (std::chrono::steady_clock::now() < deadline);
  return nullptr;
}

void PressKey(HWND window, WORD virtualKey) {
  SetForegroundWindow(window);
  for (int i = 0; i < 100 && GetForegroundWindow() != window; ++i) std::this_thread::sleep_for(20ms);
  if (GetForegroundWindow() == window) {
    testfiles::SendKeyPress(virtualKey);
    return;
  }
  // The window manager refused the foreground: deliver the key to the window that has the focus.
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  HWND target = window;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndFocus) target = info.hwndFocus;
  UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  PostMessageW(target, WM_KEYDOWN, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16));
  PostMessageW(target, WM_KEYUP, virtualKey, 1 | (static_cast<LPARAM>(scan) << 16) | (3LL << 30));
}

std::u8string WindowCaption(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return Utf8FromWide(text);
}

std::u8string StatusBarText(HWND window, int pane) {
  HWND bar = nullptr;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM data) -> BOOL {
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (!IsWindowVisible(child) || lstrcmpiW(name, STATUSCLASSNAMEW) != 0) return TRUE;
        *reinterpret_cast<HWND*>(data) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&bar));
  if (bar == nullptr) return {};
  // The bar writes its text into memory of its own process: lend it a buffer there.
  DWORD processId = 0;
  GetWindowThreadProcessId(bar, &processId);
  const win::KernelHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
  if (!process) return {};
  const std::size_t length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(pane), 0));
  std::wstring text(length + 1, L'\0');
  const std::size_t bytes = text.size() * sizeof(wchar_t);
  void* remote = VirtualAllocEx(process.get(), nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (remote == nullptr) return {};
  SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(remote));
  SIZE_T read = 0;
  const bool got = ReadProcessMemory(process.get(), remote, text.data(), bytes, &read) && read == bytes;
  VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
  if (!got) return {};
  text.resize(length);
  return Utf8FromWide(text);
}

}  // namespace e2e
