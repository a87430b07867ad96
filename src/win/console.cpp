#include "win/console.h"

#include <string>

#include "win/unicode.h"

namespace win {
namespace {

bool IsHandle(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

}  // namespace

ParentConsole::ParentConsole(bool utf8) : utf8_(utf8) {
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
}

ParentConsole::~ParentConsole() {
  opened_.reset();
  if (attached_) FreeConsole();
}

bool ParentConsole::WriteLine(std::string_view utf8) {
  // Nowhere to write is no failure: a run started without output has nobody to tell.
  if (!IsHandle(out_)) return true;
  if (!broken_) broken_ = !Write(out_, utf8);
  return !broken_;
}

bool ParentConsole::HasOutput() const { return IsHandle(out_); }

void ParentConsole::WriteErrorLine(std::string_view utf8) {
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  // Nobody left to tell when the standard error fails as well.
  if (IsHandle(error)) (void)Write(error, utf8);
}

bool ParentConsole::Write(HANDLE handle, std::string_view utf8) const {
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) {
    const std::wstring line = WideFromUtf8(utf8) + L"\r\n";
    DWORD written = 0;
    return WriteConsoleW(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) != FALSE;
  }
  const UINT codePage = utf8_ ? CP_UTF8 : attached_ ? GetConsoleOutputCP() : 0;
  const std::string line = (codePage == 0 ? AnsiFromUtf8(utf8) : TextInCodePage(utf8, codePage)) + "\r\n";
  std::size_t done = 0;
  while (done < line.size()) {
    DWORD written = 0;
    if (WriteFile(handle, line.data() + done, static_cast<DWORD>(line.size() - done), &written, nullptr) == FALSE ||
        written == 0) {
      return false;
    }
    done += written;
  }
  return true;
}

}  // namespace win
