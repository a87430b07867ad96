// ruvo.exe's icon as Explorer finds it: the first icon group of the file, with every size drawn
// for itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "e2e/e2e_support.h"
#include "support/icon_size.h"
#include "support/wide_path.h"

namespace {

using ModuleHandle = win::Handle<win::NullInvalidTraits<HMODULE, FreeLibrary>>;

#pragma pack(push, 2)
struct GroupIconEntry {  // GRPICONDIRENTRY
  BYTE width, height, colourCount, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

std::string_view ResourceBytes(HMODULE module, const wchar_t* name, const wchar_t* type) {
  HRSRC found = FindResourceW(module, name, type);
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, found);
  if (loaded == nullptr) return {};
  return {static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found)};
}

// The names of every icon group in resource order: the first is the file's icon.
std::vector<std::wstring> IconGroups(HMODULE module) {
  std::vector<std::wstring> names;
  EnumResourceNamesW(
      module, RT_GROUP_ICON,
      [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR data) -> BOOL {
        auto& list = *reinterpret_cast<std::vector<std::wstring>*>(data);
        list.push_back(IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : name);
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&names));
  return names;
}

TEST(IconE2E, TheFirstIconGroupHoldsEverySizeIn32BitsWithAlpha) {
  const e2e::RuvoSandbox sandbox;
  const ModuleHandle module(
      LoadLibraryExW(W(sandbox.ExePath()).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(module);
  const std::vector<std::wstring> groups = IconGroups(module.get());
  ASSERT_FALSE(groups.empty()) << "ruvo.exe has an icon";
  EXPECT_EQ(groups.front(), L"MAINICON");

  const std::string_view group = ResourceBytes(module.get(), groups.front().c_str(), RT_GROUP_ICON);
  ASSERT_GE(group.size(), 6u);
  WORD count = 0;
  std::memcpy(&count, group.data() + 4, sizeof count);
  ASSERT_EQ(group.size(), 6 + count * sizeof(GroupIconEntry));

  std::set<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    GroupIconEntry entry{};
    std::memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
    const int size = entry.width == 0 ? 256 : entry.width;
    SCOPED_TRACE(size);
    sizes.insert(size);
    EXPECT_EQ(entry.height, entry.width);
    EXPECT_EQ(entry.bitCount, 32);
    const std::string_view image = ResourceBytes(module.get(), MAKEINTRESOURCEW(entry.id), RT_ICON);
    ASSERT_EQ(image.size(), entry.bytes);

    // The largest size is a PNG, the others 32-bit bitmaps whose alpha has fully transparent,
    // fully opaque and partly covered pixels: drawn with smooth edges, not a mask.
    if (size == 256) {
      ASSERT_GT(image.size(), 24u);
      EXPECT_EQ(image.substr(0, 8), std::string_view("\x89PNG\r\n\x1a\n", 8));
      EXPECT_EQ(image.substr(16, 8), std::string_view("\0\0\1\0\0\0\1\0", 8)) << "256 by 256";
    } else {
      BITMAPINFOHEADER header{};
      ASSERT_GE(image.size(), sizeof header + static_cast<std::size_t>(size * size * 4));
      std::memcpy(&header, image.data(), sizeof header);
      EXPECT_EQ(header.biWidth, size);
      EXPECT_EQ(header.biHeight, 2 * size);
      EXPECT_EQ(header.biBitCount, 32);
      std::set<int> alphas;
      for (int p = 0; p < size * size; ++p) {
        const auto alpha = static_cast<unsigned char>(image[sizeof header + p * 4 + 3]);
        alphas.insert(alpha == 0 ? 0 : alpha == 255 ? 2 : 1);
      }
      EXPECT_EQ(alphas, (std::set<int>{0, 1, 2}));
    }

    // The system's own choice for this size is this very image, which makes an icon of it.
    const int chosen = LookupIconIdFromDirectoryEx(reinterpret_cast<BYTE*>(const_cast<char*>(group.data())), TRUE, size,
                                                   size, LR_DEFAULTCOLOR);
    EXPECT_EQ(chosen, entry.id);
    HICON icon =
        CreateIconFromResourceEx(reinterpret_cast<BYTE*>(const_cast<char*>(image.data())),
                                 static_cast<DWORD>(image.size()), TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR);
    EXPECT_EQ(IconSize(icon), std::make_pair(size, size));
    if (icon != nullptr) DestroyIcon(icon);
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 20, 24, 32, 48, 256}));
}

}  // namespace
