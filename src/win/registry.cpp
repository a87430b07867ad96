#include "win/registry.h"

#include <shlobj.h>

#include "win/late_bound.h"

namespace win {
namespace {

constexpr wchar_t kClasses[] = L"Software\\Classes";

std::wstring FullKey(std::wstring_view key) { return std::wstring(kClasses) + L"\\" + std::wstring(key); }

bool IsMissing(LSTATUS status) { return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND; }

// True when the key exists and holds no value and no sub-key.
bool IsEmptyKey(const std::wstring& fullKey) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, fullKey.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  const RegistryKey key(opened);
  DWORD subKeys = 0;
  DWORD values = 0;
  if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return subKeys == 0 && values == 0;
}

}  // namespace

LSTATUS WriteClassValue(const ClassValue& value) {
  HKEY created = nullptr;
  const std::wstring fullKey = FullKey(value.key);
  LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, fullKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_SET_VALUE, nullptr, &created, nullptr);
  if (status != ERROR_SUCCESS) return status;
  const RegistryKey key(created);
  if (!value.text) return RegSetValueExW(key.get(), value.name.c_str(), 0, REG_NONE, nullptr, 0);
  const std::wstring& text = *value.text;
  const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  status = RegSetValueExW(key.get(), value.name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes);
  return status;
}

LSTATUS RemoveClassValue(const ClassValue& value) {
  std::wstring fullKey = FullKey(value.key);
  {
    HKEY opened = nullptr;
    const LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, fullKey.c_str(), 0, KEY_SET_VALUE, &opened);
    if (IsMissing(status)) return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return status;
    const RegistryKey key(opened);
    const LSTATUS deleted = RegDeleteValueW(key.get(), value.name.c_str());
    if (deleted != ERROR_SUCCESS && !IsMissing(deleted)) return deleted;
  }
  // Up the path, never above the classes key itself.
  while (fullKey.size() > std::size(kClasses) - 1 && IsEmptyKey(fullKey)) {
    const LSTATUS status = RegDeleteKeyW(HKEY_CURRENT_USER, fullKey.c_str());
    if (status != ERROR_SUCCESS && !IsMissing(status)) return status;
    fullKey.erase(fullKey.rfind(L'\\'));
  }
  return ERROR_SUCCESS;
}

void NotifyAssociationsChanged() {
  using Notify = void WINAPI(LONG, UINT, LPCVOID, LPCVOID);
  // Without shell32 there is no Explorer to tell.
  if (auto* notify = LateBound<Notify>(L"shell32.dll", "SHChangeNotify")) {
    notify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
  }
}

}  // namespace win
