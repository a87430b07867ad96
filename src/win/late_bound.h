#pragma once

namespace win {

// The address of a function of a system DLL, loaded from the system folder at the first call;
// nullptr when the DLL or the function is missing. The DLL stays loaded. For the DLLs that most
// runs never need (the save dialog's, the sound's, the drop's): each one left out of start-up
// spares the program its loading and that of the DLLs it pulls in.
void* SystemFunction(const wchar_t* dll, const char* name);

template <typename Function>
Function* LateBound(const wchar_t* dll, const char* name) {
  return reinterpret_cast<Function*>(SystemFunction(dll, name));
}

}  // namespace win
