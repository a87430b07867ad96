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
  const std::string texts[] = {
      "352441c2 *\x95\x5c.txt\r\n",  // 表.txt
      "plain",
      "",
  };
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    ASSERT_TRUE(ui::SetClipboardText(text));
    EXPECT_EQ(ui::ClipboardText().value_or("<none>"), text);
    EXPECT_EQ(RawAnsiClipboard(), text);
  }
}

}  // namespace
