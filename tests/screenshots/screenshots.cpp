// Not a test: takes the README's pictures of the real ruvo.exe, each window as the screen shows it.
//   screenshots.exe OUTPUT-FOLDER
// writes main-dd.bmp, main-settings.bmp, creation.bmp, text-view.bmp, verification.bmp and
// download.bmp there.
// tools/screenshots runs it on a display of its own and turns the pictures into docs/*.png.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "core/hex.h"
#include "core/sha.h"
#include "e2e/e2e_support.h"
#include "e2e/test_win32.h"
#include "support/wide_path.h"
#include "ui/clipboard.h"
#include "ui/gdi.h"

namespace {

using namespace std::chrono_literals;

// Fixed places, so that the captions in the pictures read the same on every run.
constexpr char kProgramFolder[] = "C:\\Ruvo\\";
constexpr const char8_t* kPhotos = u8"C:\\写真\\";
constexpr const char8_t* kTrip = u8"C:\\写真\\京都 2024\\";
constexpr const char8_t* kDownloads = u8"C:\\ダウンロード\\";

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

struct SampleFile {
  const char8_t* name;
  std::size_t size;
};
constexpr SampleFile kFiles[] = {
    {u8"金閣寺.jpg", 2481337},     {u8"清水寺.jpg", 3106922}, {u8"伏見稲荷大社.jpg", 2774105},
    {u8"嵐山の竹林.jpg", 1953470}, {u8"旅程.txt", 1842},      {u8"地図.pdf", 486215},
};
// After the list is made: one photo changes (its size stays), one file goes.
constexpr const char8_t* kChanged = u8"清水寺.jpg";
constexpr const char8_t* kRemoved = u8"旅程.txt";

// Bytes that look like nothing, the same on every run.
std::string SampleBytes(std::size_t size, std::uint32_t seed) {
  std::string bytes(size, '\0');
  std::uint32_t state = seed * 2654435761u + 1;
  for (char& byte : bytes) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    byte = static_cast<char>(state);
  }
  return bytes;
}

void MakeSampleFiles() {
  testfiles::RemoveTree(Utf8(kPhotos));
  std::uint32_t seed = 1;
  for (const SampleFile& file : kFiles) {
    testfiles::WriteFileBytes(Utf8(kTrip) + Utf8(file.name), SampleBytes(file.size, seed++));
  }
}

// The first visible window of the process whose caption passes, polled for up to a minute.
HWND WaitForWindow(const e2e::RuvoProcess& ruvo, const std::function<bool(std::string_view)>& wanted) {
  const auto deadline = std::chrono::steady_clock::now() + 60s;
  while (std::chrono::steady_clock::now() < deadline && ruvo.Running()) {
    for (HWND window : ruvo.VisibleWindows()) {
      const std::u8string caption = e2e::WindowCaption(window);
      if (wanted(std::string_view(reinterpret_cast<const char*>(caption.data()), caption.size()))) return window;
    }
    std::this_thread::sleep_for(100ms);
  }
  throw std::runtime_error("the window did not appear");
}

bool Contains(std::string_view text, std::string_view piece) { return text.find(piece) != std::string_view::npos; }

// The window in front, active, and done with its painting.
void Settle(HWND window) {
  SetForegroundWindow(window);
  for (int i = 0; i < 10; ++i) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    std::this_thread::sleep_for(100ms);
  }
}

// The window's rectangle of the screen, frame and caption included, as a 32-bit top-down BMP.
void SaveWindowPicture(HWND window, const std::string& path) {
  Settle(window);
  RECT rect{};
  GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const ui::WindowDc screen(nullptr);
  const ui::MemoryDcHandle memory(CreateCompatibleDC(screen.get()));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const ui::BitmapHandle bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memory || !bitmap) throw std::runtime_error("no bitmap for " + path);
  {
    const ui::SelectObjectScope select(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY | CAPTUREBLT);
    GdiFlush();
  }
  const std::size_t pixelBytes = static_cast<std::size_t>(width) * height * 4;
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = static_cast<DWORD>(file.bfOffBits + pixelBytes);
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
  bytes.append(static_cast<const char*>(bits), pixelBytes);
  testfiles::WriteFileBytes(path, bytes);
  std::printf("%s: %d x %d\n", path.c_str(), width, height);
}

void CloseWithEsc(e2e::RuvoProcess& ruvo, HWND window) {
  e2e::PressKey(window, VK_ESCAPE);
  ruvo.Wait(30s);
}

std::string FindList(const std::string& folder) {
  WIN32_FIND_DATAW entry;
  const win::FindHandle find(FindFirstFileW(W(folder + "*.md5").c_str(), &entry));
  if (!find) throw std::runtime_error("no list was made in " + folder);
  return folder + U8(entry.cFileName);
}

// Starts ruvo.exe with the arguments and takes the picture of its window whose caption passes.
void TakeRunPicture(const e2e::RuvoSandbox& sandbox, const std::string& arguments,
                    const std::function<bool(std::string_view)>& wanted, const std::string& path) {
  e2e::RuvoProcess ruvo = sandbox.Start(arguments);
  SaveWindowPicture(WaitForWindow(ruvo, wanted), path);
  ruvo.Kill();
}

// A download's SHA-256 as its web page would print it.
std::string Sha256Text(const std::string& bytes) {
  TSha256Context context;
  Sha256Init(context);
  Sha256Update(context, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  TSha256Digest digest{};
  Sha256Final(context, digest);
  return AsciiLower(HexUpperBytes(digest.data(), digest.size()));
}

// A download checked against the digest copied from its web page: the creation window compares
// the one file's page with the clipboard by itself.
void TakeDownloadPicture(const e2e::RuvoSandbox& sandbox, const std::string& out) {
  const std::string bytes = SampleBytes(3481920, 7);
  const std::string download = Utf8(kDownloads) + "ruvo-setup.zip";
  testfiles::WriteFileBytes(download, bytes);
  if (!ui::SetClipboardText("SHA256 (ruvo-setup.zip) = " + Sha256Text(bytes))) {
    throw std::runtime_error("the clipboard could not be filled");
  }
  sandbox.WriteIni("[CalcForm]\r\nWidth=680\r\nHeight=160\r\n");
  TakeRunPicture(
      sandbox, "-t256 \"" + download + "\"",
      [](std::string_view caption) { return caption.starts_with("Ruvo - Calc - ") && !Contains(caption, "Wait"); },
      out + "download.bmp");
  testfiles::RemoveTree(Utf8(kDownloads));
}

void TakePictures(const std::string& out) {
  const e2e::RuvoSandbox sandbox(kProgramFolder);
  const auto isMain = [](std::string_view caption) {
    return caption.starts_with("Ruvo ") && !Contains(caption, " - ");
  };

  // The main window at first start, on each of its two tabs.
  {
    e2e::RuvoProcess ruvo = sandbox.Start();
    HWND main = WaitForWindow(ruvo, isMain);
    SaveWindowPicture(main, out + "main-dd.bmp");
    CloseWithEsc(ruvo, main);
  }
  sandbox.WriteIni("[MainForm]\r\nActivePage=1\r\n");
  {
    e2e::RuvoProcess ruvo = sandbox.Start();
    HWND main = WaitForWindow(ruvo, isMain);
    SaveWindowPicture(main, out + "main-settings.bmp");
    CloseWithEsc(ruvo, main);
  }

  // A finished MD5 list of the sample folder, then its text.
  MakeSampleFiles();
  sandbox.WriteIni("");
  const std::string folder = Utf8(kTrip);
  const std::string trip = folder.substr(0, folder.size() - 1);
  {
    e2e::RuvoProcess ruvo = sandbox.Start("-tm \"" + trip + "\"");
    HWND calc = WaitForWindow(ruvo, [](std::string_view caption) {
      return caption.starts_with("Ruvo - Calc - ") && !Contains(caption, "Wait") && !caption.ends_with("Text");
    });
    SaveWindowPicture(calc, out + "creation.bmp");
    e2e::PressKey(calc, 'V');
    HWND text = WaitForWindow(ruvo, [](std::string_view caption) { return caption == "Ruvo - Calc - Text"; });
    SaveWindowPicture(text, out + "text-view.bmp");
    ruvo.Kill();
  }

  // The same list verified after one photo changed and one file went.
  if (!sandbox.RunCaptured("-q -tm \"" + trip + "\"").result.finished) throw std::runtime_error("no list was made");
  const std::string list = FindList(folder);
  std::string changed = *testfiles::ReadFileBytes(folder + Utf8(kChanged));
  changed[changed.size() / 2] ^= 0x5A;
  testfiles::WriteFileBytes(folder + Utf8(kChanged), changed);
  DeleteFileW(W(folder + Utf8(kRemoved)).c_str());
  // Wide enough for every column: the found hash and the outcome too.
  sandbox.WriteIni("[CompareForm]\r\nWidth=780\r\n");
  TakeRunPicture(
      sandbox, "-c \"" + list + "\"",
      [](std::string_view caption) { return caption.ends_with(" - Compare - Ruvo") && !Contains(caption, "Wait"); },
      out + "verification.bmp");

  // The same list brought up to date with a new file beside it: the question about the photo.
  testfiles::WriteFileBytes(folder + "new.txt", SampleBytes(300, 99));
  TakeRunPicture(
      sandbox, "-update \"" + list + "\"",
      [](std::string_view caption) { return Contains(caption, Utf8(u8"更新しますか")); }, out + "update.bmp");
  testfiles::RemoveTree(Utf8(kPhotos));
  TakeDownloadPicture(sandbox, out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: screenshots.exe OUTPUT-FOLDER\n");
    return 2;
  }
  try {
    std::string out = argv[1];
    if (!out.ends_with('\\')) out += '\\';
    TakePictures(out);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "screenshots: %s\n", error.what());
    return 1;
  }
  return 0;
}
