#include "win/console.h"

#include <string>

#include "win/unicode.h"

namespace win {
namespace {

bool IsHandle(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

}  // namespace

ParentConsole::ParentConsole() {
  // A handle the starting process passed in (a redirection, a script's pipe) wins over its console.
  out_ = GetStdHandle(STD_OUTPUT_HANDLE);
  const bool given = IsHandle(out_);
  // Also with a given handle: the console's code page is the one its user reads.
  attached_ = AttachConsole(ATTACH_PARENT_PROCESS) != FALSE;
  if (!given) {
    out_ = attached_ ? GetStdHandle(STD_OUTPUT_HANDLE) : nullptr;
    if (attached_ && !IsHandle(out_)) {
      opened_.reset(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
      out_ = opened_.get();
    }
  }
  broken_ = !IsHandle(out_);
  DWORD mode = 0;
  console_ = !broken_ && GetConsoleMode(out_, &mode) != FALSE;
}

ParentConsole::~ParentConsole() {
  opened_.reset();
  if (attached_) FreeConsole();
}

void ParentConsole::WriteLine(std::string_view utf8) {
  if (broken_) return;
  if (console_) {
    const std::wstring line = WideFromUtf8(utf8) + L"\r\n";
    DWORD written = 0;
    broken_ = WriteConsoleW(out_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) == FALSE;
    return;
  }
  const UINT codePage = attached_ ? GetConsoleOutputCP() : 0;
  const std::string line = (codePage == 0 ? AnsiFromUtf8(utf8) : TextInCodePage(utf8, codePage)) + "\r\n";
  std::size_t done = 0;
  while (done < line.size()) {
    DWORD written = 0;
    if (WriteFile(out_, line.data() + done, static_cast<DWORD>(line.size() - done), &written, nullptr) == FALSE ||
        written == 0) {
      // A reader that went away: the rest of the run goes unheard.
      broken_ = true;
      return;
    }
    done += written;
  }
}

}  // namespace win
