// ruvo.exe given a device's name: the name is left out as no file at once, and the window answers.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <string>
#include <thread>

#include "e2e/e2e_support.h"

namespace {

using namespace std::chrono_literals;

// The creation window once its run is over: its caption names the page, without "Wait".
HWND WaitForCalcResult(const e2e::RuvoProcess& process) {
  const auto deadline = std::chrono::steady_clock::now() + 30s;
  while (std::chrono::steady_clock::now() < deadline) {
    for (const HWND window : process.VisibleWindows()) {
      const std::u8string caption = e2e::WindowCaption(window);
      if (caption.starts_with(u8"Ruvo - Calc - ") && !caption.starts_with(u8"Ruvo - Calc - Wait")) return window;
    }
    std::this_thread::sleep_for(20ms);
  }
  return nullptr;
}

}  // namespace

TEST(DeviceNamesE2e, LeftOutAtOnceAndTheWindowAnswers) {
  for (const char* name : {"COM1", "CON", "nul.txt", "LPT1", "missing.txt"}) {
    SCOPED_TRACE(name);
    const e2e::RuvoSandbox box;
    box.MakeFolder("data");
    box.WriteIni("[Preferences]\r\nDoneBeep=0\r\n\r\n");
    e2e::RuvoProcess process = box.Start(name, "data");
    // A device that was opened could keep the run from ever ending.
    const HWND window = WaitForCalcResult(process);
    ASSERT_NE(window, nullptr) << "the run did not end";
    e2e::PressKey(window, VK_ESCAPE);
    EXPECT_TRUE(process.Wait().finished);
  }
}
