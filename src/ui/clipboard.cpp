#include "ui/clipboard.h"

#include <windows.h>

#include <cstring>

#include "ui/text.h"
#include "win/unicode.h"

namespace ui {
namespace {

// Global memory handed to the clipboard: freed here unless the clipboard took it.
class GlobalBlock {
 public:
  explicit GlobalBlock(std::size_t size) : memory_(GlobalAlloc(GMEM_MOVEABLE, size)) {}
  GlobalBlock(const GlobalBlock&) = delete;
  GlobalBlock& operator=(const GlobalBlock&) = delete;
  ~GlobalBlock() {
    if (memory_ != nullptr) GlobalFree(memory_);
  }
  bool Fill(const void* data, std::size_t size) {
    if (memory_ == nullptr) return false;
    void* target = GlobalLock(memory_);
    if (target == nullptr) return false;
    std::memcpy(target, data, size);
    GlobalUnlock(memory_);
    return true;
  }
  bool PutOnClipboard(UINT format) {
    if (memory_ == nullptr || SetClipboardData(format, memory_) == nullptr) return false;
    memory_ = nullptr;  // the clipboard owns it now
    return true;
  }

 private:
  HGLOBAL memory_;
};

// The clipboard open for one scope. It needs an owner window, or SetClipboardData fails; a
// message-only window serves, and the data stays after it is gone.
class OpenClipboardScope {
 public:
  OpenClipboardScope()
      : owner_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                               nullptr)) {
    // Another program may hold the clipboard for a moment.
    for (int attempt = 0; attempt < 10 && !open_; ++attempt) {
      open_ = OpenClipboard(owner_) != FALSE;
      if (!open_) Sleep(10);
    }
  }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  ~OpenClipboardScope() {
    if (open_) CloseClipboard();
    if (owner_ != nullptr) DestroyWindow(owner_);
  }
  [[nodiscard]] bool open() const { return open_; }

 private:
  HWND owner_;
  bool open_ = false;
};

template <typename Char>
std::optional<std::basic_string<Char>> ReadFormat(UINT format) {
  HANDLE data = GetClipboardData(format);
  if (data == nullptr) return std::nullopt;
  const auto* text = static_cast<const Char*>(GlobalLock(data));
  if (text == nullptr) return std::nullopt;
  const std::size_t limit = GlobalSize(data) / sizeof(Char);
  std::size_t length = 0;
  while (length < limit && text[length] != 0) ++length;
  std::basic_string<Char> result(text, length);
  GlobalUnlock(data);
  return result;
}

}  // namespace

bool SetClipboardText(std::string_view text) {
  OpenClipboardScope clipboard;
  if (!clipboard.open() || !EmptyClipboard()) return false;
  const std::wstring wide = WideFromUtf8(text);
  GlobalBlock unicode((wide.size() + 1) * sizeof(wchar_t));
  // Programs that take only CF_TEXT get the ANSI form, as Windows would make it.
  const std::string ansiCopy = win::AnsiFromUtf8(text);
  GlobalBlock ansi(ansiCopy.size() + 1);
  const LCID locale = GetSystemDefaultLCID();  // the locale whose code page the ANSI bytes are in
  GlobalBlock localeBlock(sizeof locale);
  const bool filled = unicode.Fill(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t)) &&
                      ansi.Fill(ansiCopy.c_str(), ansiCopy.size() + 1) && localeBlock.Fill(&locale, sizeof locale);
  if (!filled) return false;
  const bool put = unicode.PutOnClipboard(CF_UNICODETEXT);
  const bool putAnsi = ansi.PutOnClipboard(CF_TEXT);
  localeBlock.PutOnClipboard(CF_LOCALE);  // a hint only; the text is there without it
  return put && putAnsi;
}

std::optional<std::string> ClipboardText() {
  OpenClipboardScope clipboard;
  if (!clipboard.open()) return std::nullopt;
  if (auto wide = ReadFormat<wchar_t>(CF_UNICODETEXT)) return Utf8FromWide(*wide);
  if (auto ansi = ReadFormat<char>(CF_TEXT)) return win::Utf8FromAnsi(*ansi);
  return std::nullopt;
}

}  // namespace ui
