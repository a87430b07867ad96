// "-register" and "-unregister": Explorer's menus for the current user, read back through the
// registry of the test's Wine prefix, and the commands they hold started for real, as Explorer
// starts them.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/utf8.h"
#include "e2e/e2e_support.h"
#include "support/wide_path.h"
#include "win/registry.h"

namespace {

using namespace std::chrono_literals;

constexpr wchar_t kClasses[] = L"Software\\Classes";

// Every key and value under a key: "key\\[name]" -> type and data, the keys themselves as "key\\".
using Snapshot = std::map<std::wstring, std::wstring>;

void Collect(HKEY key, const std::wstring& path, Snapshot& snapshot) {
  snapshot[path + L"\\"] = L"";
  for (DWORD index = 0;; ++index) {
    wchar_t name[16384];
    DWORD nameLength = static_cast<DWORD>(std::size(name));
    DWORD type = 0;
    std::vector<BYTE> data(1 << 16);
    auto dataLength = static_cast<DWORD>(data.size());
    if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data.data(), &dataLength) != ERROR_SUCCESS) break;
    snapshot[path + L"\\[" + std::wstring(name, nameLength) + L"]"] =
        std::to_wstring(type) + L":" + std::wstring(reinterpret_cast<const wchar_t*>(data.data()), dataLength / 2);
  }
  std::vector<std::wstring> children;
  for (DWORD index = 0;; ++index) {
    wchar_t name[256];
    DWORD nameLength = static_cast<DWORD>(std::size(name));
    if (RegEnumKeyExW(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    children.emplace_back(name, nameLength);
  }
  for (const std::wstring& child : children) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(key, child.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) continue;
    const win::RegistryKey childKey(opened);
    Collect(childKey.get(), path + L"\\" + child, snapshot);
  }
}

// The current user's classes as they are now.
Snapshot TakeSnapshot() {
  Snapshot snapshot;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kClasses, 0, KEY_READ, &opened) != ERROR_SUCCESS) return snapshot;
  const win::RegistryKey classes(opened);
  Collect(classes.get(), L"", snapshot);
  return snapshot;
}

std::optional<std::wstring> Text(const std::wstring& key, const std::wstring& name) {
  wchar_t text[2048] = {};
  DWORD bytes = sizeof text;
  if (RegGetValueW(HKEY_CURRENT_USER, (std::wstring(kClasses) + L"\\" + key).c_str(), name.c_str(), RRF_RT_REG_SZ,
                   nullptr, text, &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(text);
}

std::wstring Wide(std::u8string_view text) { return W(AsUtf8String(text)); }

std::u8string Utf8(const std::string& text) { return std::u8string(text.begin(), text.end()); }

// Another program's keys at the places Ruvo writes to: they stay as they are.
struct OtherProgram {
  const win::ClassValue values[5] = {
      {.key = L".md5", .name = L"", .text = L"Other.md5"},
      {.key = L".md5\\OpenWithProgids", .name = L"Other.md5", .text = std::nullopt},
      {.key = L"*\\shell\\Other", .name = L"", .text = L"Other verb"},
      {.key = L"SystemFileAssociations\\.sha256\\shell\\Other\\command", .name = L"", .text = L"other.exe \"%1\""},
      {.key = L"Directory\\shell\\Other\\command", .name = L"", .text = L"other.exe \"%1\""},
  };
  OtherProgram() {
    for (const win::ClassValue& value : values) EXPECT_EQ(win::WriteClassValue(value), ERROR_SUCCESS);
  }
  ~OtherProgram() {
    for (const win::ClassValue& value : values) (void)win::RemoveClassValue(value);
  }
};

class ShellMenusE2eTest : public testing::Test {
 protected:
  void SetUp() override {
    // Where users keep programs, with a blank, and a name that the ANSI code page cannot hold.
    box_.MoveExe("Program Files\\Ruvo \xED\x95\x9C\\");  // 한, no character of code page 932
    exe_ = W(box_.ExePath());
    box_.WriteIni(
        "[Preferences]\r\nDoneBeep=0\r\nHashType=2\r\nAutoSaveDir=1\r\nAutoSaveFile=1\r\nAutoSaveClose=1\r\n");
  }
  void TearDown() override {
    // Nothing of Ruvo's stays behind for later tests, whatever failed.
    box_.Run("-unregister");
  }

  // Runs the command and returns its exit code; the one line it printed is in line_.
  DWORD Command(const std::string& words) {
    const e2e::CapturedRun run = box_.RunCaptured(words);
    EXPECT_TRUE(run.result.finished) << words;
    line_ = run.output;
    return run.result.exitCode;
  }

  // A verb's command as Explorer starts it: "%1" is the item.
  e2e::RuvoProcess StartVerb(const std::wstring& key, const std::string& item) const {
    const std::optional<std::wstring> command = Text(key + L"\\command", L"");
    if (!command) throw std::runtime_error("no command for " + U8(key));
    std::wstring commandLine = *command;
    commandLine.replace(commandLine.find(L"%1"), 2, W(item));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
      throw std::runtime_error("cannot start " + U8(commandLine));
    }
    CloseHandle(info.hThread);
    return e2e::RuvoProcess(win::KernelHandle(info.hProcess), info.dwProcessId);
  }

  std::wstring Quoted() const { return L"\"" + exe_ + L"\""; }

  e2e::RuvoSandbox box_;
  std::wstring exe_;
  std::string line_;
};

std::string AnsiLine(std::u8string_view text) {
  const std::wstring wide = Wide(text);
  const int length =
      WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), length, nullptr, nullptr);
  return ansi + "\r\n";
}

TEST_F(ShellMenusE2eTest, RegisterWritesTheMenusAndUnregisterTakesThemAway) {
  const OtherProgram other;
  const Snapshot before = TakeSnapshot();

  ASSERT_EQ(Command("-register"), 0u);
  EXPECT_EQ(line_, AnsiLine(u8"エクスプローラーのメニューに登録しました"));
  const Snapshot registered = TakeSnapshot();
  for (const auto& [entry, value] : before) {
    const auto found = registered.find(entry);
    ASSERT_NE(found, registered.end()) << U8(entry);
    EXPECT_EQ(found->second, value) << U8(entry) << ": another program's value stays";
  }

  const std::wstring create = Wide(u8"Ruvo でリスト作成");
  const std::wstring verify = Wide(u8"Ruvo で照合");
  struct Expected {
    std::wstring key, name, text;
  };
  const Expected expected[] = {
      {L"*\\shell\\Ruvo.Create", L"", create},
      {L"*\\shell\\Ruvo.Create", L"MultiSelectModel", L"Player"},
      {L"*\\shell\\Ruvo.Create\\command", L"", Quoted() + L" -sel \"%1\""},
      {L"*\\shell\\Ruvo.CreateKind", L"SubCommands", L""},
      {L"*\\shell\\Ruvo.CreateKind\\shell\\1.CRC16\\command", L"", Quoted() + L" -sel -t1 \"%1\""},
      {L"*\\shell\\Ruvo.CreateKind\\shell\\4.SHA256", L"MUIVerb", L"SHA-256"},
      {L"Directory\\shell\\Ruvo.Create", L"", create},
      {L"Directory\\shell\\Ruvo.Create\\command", L"", Quoted() + L" -sel \"%1\""},
      {L"Directory\\shell\\Ruvo.CreateKind\\shell\\3.MD5\\command", L"", Quoted() + L" -sel -tm \"%1\""},
      {L"*\\shell\\Ruvo.VerifySums", L"", verify},
      {L"*\\shell\\Ruvo.VerifySums", L"AppliesTo", L"System.FileName:~\"*SUMS\""},
      {L"SystemFileAssociations\\.md5\\shell\\Ruvo.Verify", L"", verify},
      {L"SystemFileAssociations\\.sha256\\shell\\Ruvo.Verify\\command", L"", Quoted() + L" -sel -c \"%1\""},
      {L"SystemFileAssociations\\.sfv\\shell\\Ruvo.Verify", L"MultiSelectModel", L"Player"},
      {L"Ruvo.List\\shell\\open\\command", L"", Quoted() + L" -sel -c \"%1\""},
      {L".md5", L"", L"Other.md5"},  // the default program stays
  };
  for (const Expected& e : expected) EXPECT_EQ(Text(e.key, e.name), e.text) << U8(e.key) << " " << U8(e.name);
  for (const wchar_t* extension : {L".md5", L".sha1", L".sha256", L".sha512", L".sfv", L".crc", L".b2", L".b3"}) {
    EXPECT_EQ(registered.count(L"\\" + std::wstring(extension) + L"\\OpenWithProgids\\[Ruvo.List]"), 1u)
        << U8(extension);
    EXPECT_EQ(registered.count(L"\\SystemFileAssociations\\" + std::wstring(extension) + L"\\shell\\Ruvo.Verify\\"), 1u)
        << U8(extension);
  }
  EXPECT_EQ(registered.at(L"\\.md5\\OpenWithProgids\\[Other.md5]"), before.at(L"\\.md5\\OpenWithProgids\\[Other.md5]"));

  ASSERT_EQ(Command("-register"), 0u) << "twice";
  EXPECT_EQ(TakeSnapshot(), registered) << "the same keys and values again";

  ASSERT_EQ(Command("-unregister"), 0u);
  EXPECT_EQ(line_, AnsiLine(u8"エクスプローラーのメニューから削除しました"));
  EXPECT_EQ(TakeSnapshot(), before) << "every key and value it wrote is gone, nothing else";
  ASSERT_EQ(Command("-unregister"), 0u) << "with nothing to remove";
  EXPECT_EQ(TakeSnapshot(), before);
}

// What each verb starts, started as Explorer does: a folder's list, a list of another kind, and a
// list verified in its window.
TEST_F(ShellMenusE2eTest, EachVerbRunsItsJob) {
  ASSERT_EQ(Command("-register"), 0u);
  box_.WriteFile("data\\a.txt", "abc");
  box_.WriteFile("data\\b.txt", "123456789");
  const std::string data = box_.Path("data");
  struct Case {
    std::wstring verb;
    const char* made;
    std::string content;
  };
  const Case cases[] = {
      {L"Directory\\shell\\Ruvo.Create", "data\\data.md5", "900150983cd24fb0d6963f7d28e17f72 a.txt\r\n"},
      {L"Directory\\shell\\Ruvo.CreateKind\\shell\\2.CRC32", "data\\data.crc", "352441C2"},
      {L"*\\shell\\Ruvo.CreateKind\\shell\\4.SHA256", "data\\a.sha256",
       "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad a.txt\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(U8(c.verb));
    const std::string item = c.verb.starts_with(L"*") ? box_.Path("data\\a.txt") : data;
    e2e::RuvoProcess ruvo = StartVerb(c.verb, item);
    const e2e::RunResult result = ruvo.Wait(60s);
    ASSERT_TRUE(result.finished) << "saved and closed by itself";
    EXPECT_EQ(result.exitCode, 0u);
    const std::optional<std::string> list = box_.ReadFile(c.made);
    ASSERT_TRUE(list.has_value());
    EXPECT_NE(list->find(c.content), std::string::npos) << *list;
  }

  for (const std::wstring verb : {L"SystemFileAssociations\\.md5\\shell\\Ruvo.Verify", L"Ruvo.List\\shell\\open"}) {
    SCOPED_TRACE(U8(verb));
    e2e::RuvoProcess ruvo = StartVerb(verb, box_.Path("data\\data.md5"));
    const HWND window = ruvo.WaitForWindow(Utf8(box_.Path("data\\data.md5")) + u8" - Compare - Ruvo");
    ASSERT_NE(window, nullptr);
    for (int i = 0; i < 300 && e2e::StatusBarText(window, 0) != u8"完了"; ++i) Sleep(100);
    EXPECT_EQ(e2e::StatusBarText(window, 1), u8"2ファイル (正常 : 2  異常 : 0)");
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(ruvo.Wait(30s).finished);
  }
}

// Explorer starts a verb once per selected item: the processes join, and one job takes them all.
TEST_F(ShellMenusE2eTest, SeveralSelectedFilesMakeOneJob) {
  ASSERT_EQ(Command("-register"), 0u);
  const char* const names[] = {"a.txt", "b.txt", "c.txt"};
  for (const char* name : names) box_.WriteFile(std::string("sel\\") + name, name);
  std::vector<e2e::RuvoProcess> processes;
  for (const char* name : names) {
    processes.push_back(StartVerb(L"*\\shell\\Ruvo.Create", box_.Path(std::string("sel\\") + name)));
  }
  for (e2e::RuvoProcess& process : processes) {
    const e2e::RunResult result = process.Wait(60s);
    EXPECT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);
  }
  // One list of the three loose files, named after their folder as a list of several files is;
  // processes that ran alone would each have made a list of their own file.
  const std::optional<std::string> list = box_.ReadFile("sel\\sel.md5");
  ASSERT_TRUE(list.has_value());
  for (const char* name : names) {
    EXPECT_NE(list->find(name), std::string::npos) << *list;
    const std::string alone = "sel\\" + std::string(name, 1) + ".md5";
    EXPECT_FALSE(box_.ReadFile(alone).has_value()) << alone;
  }
}

}  // namespace
