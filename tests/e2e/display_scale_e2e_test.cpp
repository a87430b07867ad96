// ruvo.exe started on a display at 144 DPI (150 %): its windows are laid out for that scale, and
// the settings file keeps its meaning: places on the desktop in screen pixels, sizes designed at
// 96 DPI, so that a file written at one scale opens the windows alike at another.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "e2e/e2e_support.h"
#include "support/display_scale.h"

namespace {

using namespace std::chrono_literals;

constexpr int kScale = 144;

// The first window of the tree below `parent` with this class and caption.
HWND FindChild(HWND parent, const wchar_t* className, const wchar_t* caption) {
  struct Search {
    const wchar_t* className;
    const wchar_t* caption;
    HWND found;
  } search{className, caption, nullptr};
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        wchar_t name[64] = {}, text[64] = {};
        GetClassNameW(window, name, 64);
        GetWindowTextW(window, text, 64);
        if (_wcsicmp(name, s->className) != 0 || wcscmp(text, s->caption) != 0) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

RECT RectInParent(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// Starts ruvo.exe at the scale and waits for its window of this caption; the display is back at its
// own scale as soon as the program has read it.
HWND StartScaled(const e2e::RuvoSandbox& sandbox, std::optional<e2e::RuvoProcess>& ruvo, const std::string& arguments,
                 std::u8string_view caption) {
  const testsupport::LogPixelsScope scale(kScale);
  ruvo.emplace(sandbox.Start(arguments));
  return ruvo->WaitForWindow(caption);
}

TEST(DisplayScaleE2E, MainWindowLaidOutForTheScale) {
  e2e::RuvoSandbox sandbox;
  std::optional<e2e::RuvoProcess> ruvo;
  const HWND main = StartScaled(sandbox, ruvo, "", u8"Ruvo 0.14h");
  ASSERT_NE(main, nullptr);
  RECT client{};
  GetClientRect(main, &client);
  EXPECT_EQ(client.right, 228);
  EXPECT_EQ(client.bottom, 408);
  // "最前面表示", designed at 0, 128, 81 by 17.
  const HWND onTop = FindChild(main, L"Button", L"最前面表示");
  ASSERT_NE(onTop, nullptr);
  const RECT place = RectInParent(onTop);
  EXPECT_EQ(place.left, 0);
  EXPECT_EQ(place.top, 192);
  EXPECT_EQ(place.right, 122);
  EXPECT_EQ(place.bottom, 192 + 26);

  e2e::PressKey(main, VK_ESCAPE);
  ASSERT_TRUE(ruvo->Wait(30s).finished);
  // The job windows, never moved, centred at their designed size of 408 by 327 (612 by 491 here).
  const int left = GetSystemMetrics(SM_CXSCREEN) / 2 - 612 / 2;
  const int top = GetSystemMetrics(SM_CYSCREEN) / 2 - 491 / 2;
  const std::string compare = "[CompareForm]\r\nLeft=" + std::to_string(left) + "\r\nTop=" + std::to_string(top) +
                              "\r\nWidth=408\r\nHeight=327\r\n";
  const std::string ini = sandbox.ReadIni().value_or("");
  EXPECT_EQ(ini.rfind("[MainForm]\r\nLeft=0\r\nTop=0\r\n", 0), 0U) << ini;
  EXPECT_NE(ini.find(compare), std::string::npos) << ini;
}

TEST(DisplayScaleE2E, StoredGeometryOpensScaledAndIsWrittenBackAsItWas) {
  e2e::RuvoSandbox sandbox;
  sandbox.WriteFile("data\\a.txt", "abc");
  sandbox.WriteFile("data\\a.md5", "900150983cd24fb0d6963f7d28e17f72 *a.txt\r\n");
  const std::string stored = "[CompareForm]\r\nLeft=10\r\nTop=20\r\nWidth=400\r\nHeight=300\r\nTabWidth=64\r\n";
  sandbox.WriteIni(stored + "\r\n[Preferences]\r\nDoneBeep=0\r\n");
  std::optional<e2e::RuvoProcess> ruvo;
  const std::string list = sandbox.Path("data\\a.md5");
  const HWND window = StartScaled(sandbox, ruvo, "-c \"" + list + "\"",
                                  std::u8string(list.begin(), list.end()) + u8" - Compare - Ruvo");
  ASSERT_NE(window, nullptr);
  RECT bounds{};
  GetWindowRect(window, &bounds);
  EXPECT_EQ(bounds.left, 10);
  EXPECT_EQ(bounds.top, 20);
  EXPECT_EQ(bounds.right - bounds.left, 600);
  EXPECT_EQ(bounds.bottom - bounds.top, 450);

  PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(ruvo->Wait(30s).finished);
  const std::string ini = sandbox.ReadIni().value_or("");
  EXPECT_NE(ini.find(stored), std::string::npos) << ini;
}

}  // namespace
