// ruvo.exe as a screen reader meets it, from another process: the hash buttons' accessible
// objects reach the reader and follow the pressed button.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>

#include <string>

#include "e2e/e2e_support.h"
#include "support/accessibility.h"

namespace {

using namespace std::chrono_literals;

HWND ChildWithText(HWND parent, const wchar_t* text) {
  struct Search {
    const wchar_t* text;
    HWND found = nullptr;
  } search{text};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM data) {
        auto& s = *reinterpret_cast<Search*>(data);
        wchar_t own[64] = {};
        GetWindowTextW(child, own, 64);
        if (std::wstring(own) != s.text) return TRUE;
        s.found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(AccessibilityE2E, AReaderInAnotherProcessHearsWhichHashButtonIsPressed) {
  e2e::RuvoSandbox sandbox;
  e2e::RuvoProcess ruvo = sandbox.Start();
  const HWND main = ruvo.WaitForWindow(u8"Ruvo 0.14h");
  ASSERT_NE(main, nullptr);
  const wchar_t* const captions[] = {L"CRC16", L"CRC32", L"MD5", L"SHA256"};
  for (const wchar_t* pressed : {L"CRC32", L"MD5"}) {
    if (std::wstring(pressed) != L"CRC32") SendMessageW(ChildWithText(main, pressed), BM_CLICK, 0, 0);
    for (const wchar_t* caption : captions) {
      const HWND button = ChildWithText(main, caption);
      ASSERT_NE(button, nullptr);
      const AccessibleClient object(button);
      ASSERT_TRUE(object.Found()) << "no object across the processes";
      EXPECT_EQ(object.Name(), caption);
      EXPECT_EQ(object.Role(), ROLE_SYSTEM_PUSHBUTTON);
      EXPECT_EQ((object.State() & STATE_SYSTEM_PRESSED) != 0, std::wstring(caption) == pressed)
          << "after " << testing::PrintToString(std::wstring(pressed));
    }
  }
  e2e::PressKey(main, VK_ESCAPE);
  EXPECT_TRUE(ruvo.Wait(30s).finished);
}

}  // namespace
