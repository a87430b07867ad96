#include "ui/clipboard.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

std::string RawAnsiClipboard() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT); data != nullptr) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data)); bytes != nullptr) {
      text = bytes;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

TEST(Clipboard, TextRoundTripsAsUnicodeAndAsTheExactAnsiBytes) {
  struct Case {
    std::string text;  // UTF-8
    std::string ansi;  // the same in code page 932
  };
  const Case cases[] = {
      {"352441c2 *\xE8\xA1\xA8.txt\r\n", "352441c2 *\x95\x5c.txt\r\n"},  // 表.txt
      {"plain", "plain"},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ASSERT_TRUE(ui::SetClipboardText(c.text));
    EXPECT_EQ(ui::ClipboardText().value_or("<none>"), c.text);
    if (GetACP() == 932) {
      EXPECT_EQ(RawAnsiClipboard(), c.ansi);
    }
  }
}

}  // namespace
