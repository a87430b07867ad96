// The version that Windows reads from ruvo.exe (the file's properties, the manifest) is the one
// the build was made with, in each of the forms it takes.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "app/version.h"
#include "e2e/e2e_support.h"
#include "support/wide_path.h"

namespace {

using ModuleHandle = win::Handle<win::NullInvalidTraits<HMODULE, FreeLibrary>>;

struct VersionNumbers {
  unsigned major = 0, minor = 0, patch = 0;
};

VersionNumbers ParseVersion(const char* text) {
  VersionNumbers numbers;
  EXPECT_EQ(std::sscanf(text, "%u.%u.%u", &numbers.major, &numbers.minor, &numbers.patch), 3) << text;
  return numbers;
}

std::wstring StringValue(const std::vector<char>& block, const wchar_t* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring path = std::wstring(L"\\StringFileInfo\\041103A4\\") + name;
  if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || length == 0) return {};
  return {static_cast<const wchar_t*>(value), length - 1};  // the length counts the final null
}

TEST(VersionE2E, TheFilePropertiesCarryTheBuildsVersion) {
  const e2e::RuvoSandbox sandbox;
  const std::wstring exe = W(sandbox.ExePath());
  const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), nullptr);
  ASSERT_GT(size, 0u) << "ruvo.exe has a version resource";
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedLength = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedLength));
  ASSERT_GE(fixedLength, sizeof(VS_FIXEDFILEINFO));
  const VersionNumbers numbers = ParseVersion(RUVO_VERSION);
  EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(numbers.minor, numbers.major)));
  EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, numbers.patch)));
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);

  EXPECT_EQ(StringValue(block, L"FileVersion"), W(RUVO_VERSION));
  EXPECT_EQ(StringValue(block, L"ProductVersion"), W(RUVO_DISPLAY_VERSION));
  EXPECT_EQ(StringValue(block, L"ProductName"), L"Ruvo");
}

TEST(VersionE2E, TheManifestDeclaresTheSameVersion) {
  const e2e::RuvoSandbox sandbox;
  const ModuleHandle module(
      LoadLibraryExW(W(sandbox.ExePath()).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(module);
  HRSRC found = FindResourceW(module.get(), MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(found, nullptr) << "ruvo.exe has a manifest";
  const std::string_view manifest(static_cast<const char*>(LockResource(LoadResource(module.get(), found))),
                                  SizeofResource(module.get(), found));
  const std::string declared = std::string("name=\"Ruvo\" version=\"") + RUVO_VERSION + ".0\"";
  EXPECT_NE(manifest.find(declared), std::string_view::npos) << manifest.substr(0, 300);
}

}  // namespace
