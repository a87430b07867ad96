#include "win/selection.h"

#include <windows.h>

#include <thread>

#include "win/handle.h"
#include "win/unicode.h"

namespace win {
namespace {

using namespace std::chrono_literals;

constexpr wchar_t kWindowClass[] = L"Ruvo.Selection";
// A path handed over in WM_COPYDATA, UTF-8.
constexpr ULONG_PTR kPathData = 0x52555650;  // "RUVP"
// How long a process that is not first keeps trying to reach the first one before it runs alone.
constexpr auto kReachFor = 5s;

using OwnWindow = Handle<NullInvalidTraits<HWND, DestroyWindow>>;

struct Gathering {
  std::vector<std::string> paths;
  std::chrono::steady_clock::time_point last;
};

LRESULT CALLBACK GatheringProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    auto* gathering = reinterpret_cast<Gathering*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (gathering == nullptr || data->dwData != kPathData) return FALSE;
    gathering->paths.emplace_back(static_cast<const char*>(data->lpData), data->cbData);
    gathering->last = std::chrono::steady_clock::now();
    return TRUE;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterGatheringClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = GatheringProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kWindowClass;
  // A class registered before (a second gathering in one process) is as good.
  (void)RegisterClassExW(&windowClass);
}

// Hands the paths to the first process; false when it is not there (yet) or takes no more.
bool HandOver(const std::wstring& name, const std::vector<std::string>& paths) {
  const HWND first = FindWindowExW(HWND_MESSAGE, nullptr, kWindowClass, name.c_str());
  if (first == nullptr) return false;
  for (const std::string& path : paths) {
    COPYDATASTRUCT data{
        .dwData = kPathData, .cbData = static_cast<DWORD>(path.size()), .lpData = const_cast<char*>(path.data())};
    DWORD_PTR accepted = FALSE;
    if (SendMessageTimeoutW(first, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 2000,
                            &accepted) == 0 ||
        accepted == FALSE) {
      return false;
    }
  }
  return true;
}

// The first process: a window the others find by name, served until no path came for quiet.
std::vector<std::string> GatherAsFirst(const std::wstring& name, std::vector<std::string> own,
                                       std::chrono::milliseconds quiet) {
  RegisterGatheringClass();
  Gathering gathering{.paths = std::move(own), .last = std::chrono::steady_clock::now()};
  const OwnWindow window(CreateWindowExW(0, kWindowClass, name.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                         GetModuleHandleW(nullptr), nullptr));
  // Without its window nobody can join: the selection is what this process has.
  if (!window) return std::move(gathering.paths);
  SetWindowLongPtrW(window.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&gathering));
  for (;;) {
    const auto left = gathering.last + quiet - std::chrono::steady_clock::now();
    if (left <= 0ms) break;
    const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(left).count() + 1;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(wait), QS_ALLINPUT);
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        // Not ours to take: the message loop that runs later must see it.
        PostQuitMessage(static_cast<int>(message.wParam));
        return std::move(gathering.paths);
      }
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  SetWindowLongPtrW(window.get(), GWLP_USERDATA, 0);
  return std::move(gathering.paths);
}

}  // namespace

std::optional<std::vector<std::string>> GatherSelection(std::string_view key, std::vector<std::string> own,
                                                        std::chrono::milliseconds quiet) {
  // The name holds no "\": a kernel object's name would take it for a namespace.
  std::wstring name = L"Ruvo.Selection." + WideFromUtf8(key);
  for (wchar_t& c : name) {
    if (c == L'\\') c = L'/';
  }
  const auto giveUp = std::chrono::steady_clock::now() + kReachFor;
  for (;;) {
    // Whoever makes the mutex is first; the others keep no handle on it, so that once the first
    // one is done, the next selection's first process can make it again.
    KernelHandle mutex(CreateMutexW(nullptr, FALSE, name.c_str()));
    if (mutex && GetLastError() != ERROR_ALREADY_EXISTS) return GatherAsFirst(name, std::move(own), quiet);
    mutex.reset();
    if (HandOver(name, own)) return std::nullopt;
    // The first one is between its mutex and its window, or just done with its selection.
    if (std::chrono::steady_clock::now() > giveUp) return own;
    std::this_thread::sleep_for(20ms);
  }
}

}  // namespace win
