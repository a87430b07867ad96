#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "win/handle.h"

// The current user's file classes (HKEY_CURRENT_USER\Software\Classes), which Explorer merges
// over the machine's: what a user may change without an administrator. Key paths are relative
// to that key and use "\"; every text is UTF-16.
namespace win {

using RegistryKey = Handle<NullInvalidTraits<HKEY, RegCloseKey>>;

// A value of a class key: a text (REG_SZ), or with no text an empty REG_NONE, the form that
// OpenWithProgids entries take. An empty name is the key's default value.
struct ClassValue {
  std::wstring key;
  std::wstring name;
  std::optional<std::wstring> text;
};

// Creates the key and its parents as needed and sets the value; the Windows error, 0 on success.
[[nodiscard]] LSTATUS WriteClassValue(const ClassValue& value);

// Deletes the value, then every key on its path, from its own up, that holds nothing more (no
// value, default included, and no sub-key); other keys and values stay as they are. A value or
// key that is not there is no error. The Windows error, 0 on success.
[[nodiscard]] LSTATUS RemoveClassValue(const ClassValue& value);

// Tells Explorer that associations changed, so that its menus and "open with" lists take them.
void NotifyAssociationsChanged();

}  // namespace win
