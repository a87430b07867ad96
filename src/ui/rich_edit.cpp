#include "ui/rich_edit.h"

#include <richedit.h>

namespace ui {
namespace {

// The newest rich edit the system has; the library stays loaded for the process's life, as
// windows of its class may exist until the end.
const wchar_t* RichEditClass() {
  static const wchar_t* const name = [] {
    if (LoadLibraryW(L"msftedit.dll") != nullptr) return MSFTEDIT_CLASS;
    if (LoadLibraryW(L"riched20.dll") != nullptr) return RICHEDIT_CLASSW;
    return L"EDIT";
  }();
  return name;
}

}  // namespace

RichEdit::RichEdit(const RichEditArgs& args) : Control(args.parent), readOnly_(args.readOnly) {
  SetDesignBounds(args.left, args.top, args.width, args.height);
  SetAlign(args.align);
  SetTabStop(true);
  CreateWindowIfReady();
}

RichEdit::~RichEdit() { ReleaseWindow(); }

Control::CreateSpec RichEdit::GetCreateSpec() {
  return {.className = RichEditClass(),
          .style = ES_MULTILINE | (readOnly_ ? ES_READONLY : 0U) | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL |
                   WS_VSCROLL | WS_HSCROLL,
          .exStyle = WS_EX_CLIENTEDGE};
}

void RichEdit::AfterCreateWindow() {
  SendMessageW(hwnd(), EM_SETTEXTMODE, TM_PLAINTEXT, 0);
  SendMessageW(hwnd(), EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
  SendMessageW(hwnd(), EM_SETTARGETDEVICE, 0, 1);  // no word wrap
  SetText(text_);
}

void RichEdit::SetText(std::string_view text) {
  text_.assign(text);
  if (hwnd() == nullptr) return;
  const std::wstring wide = WideFromUtf8(text_);
  SETTEXTEX how{ST_DEFAULT, 1200};  // 1200: UTF-16
  SendMessageW(hwnd(), EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(wide.c_str()));
}

// Read from the window, so that what is saved or copied is what the box shows; rich edit keeps
// bare CRs inside and gives CR LF back with GT_USECRLF.
std::string RichEdit::Text() const {
  if (hwnd() == nullptr) return text_;
  GETTEXTLENGTHEX lengthQuery{GTL_USECRLF | GTL_PRECISE | GTL_NUMCHARS, 1200};
  const auto length = SendMessageW(hwnd(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthQuery), 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
  GETTEXTEX query{};
  query.cb = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
  query.flags = GT_USECRLF;
  query.codepage = 1200;
  const auto copied =
      SendMessageW(hwnd(), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&query), reinterpret_cast<LPARAM>(wide.data()));
  wide.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return Utf8FromWide(wide);
}

void RichEdit::SelectAll() {
  if (hwnd() != nullptr) SendMessageW(hwnd(), EM_SETSEL, 0, -1);
}

void RichEdit::CopyToClipboard() {
  if (hwnd() != nullptr) SendMessageW(hwnd(), WM_COPY, 0, 0);
}

int RichEdit::SelLength() const {
  if (hwnd() == nullptr) return 0;
  CHARRANGE range{};
  SendMessageW(hwnd(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return static_cast<int>(range.cpMax - range.cpMin);
}

void RichEdit::ClearSelection() {
  if (hwnd() == nullptr) return;
  CHARRANGE range{};
  SendMessageW(hwnd(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  range.cpMax = range.cpMin;
  SendMessageW(hwnd(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

}  // namespace ui
