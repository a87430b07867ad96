#include "win/late_bound.h"

#include <windows.h>

namespace win {

void* SystemFunction(const wchar_t* dll, const char* name) {
  // Only from the system folder: a DLL of that name beside a list must never be loaded.
  HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(module, name));
}

}  // namespace win
