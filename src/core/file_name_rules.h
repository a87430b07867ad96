#pragma once

#include <string_view>

// What a path must be before any file is opened by it.

// True when the UTF-8 path can name a file as it stands: not empty, valid UTF-8 (no kNoCharacter), no NUL or
// other control character, none of < > " | ? *, and ":" only after a drive letter. Windows would
// cut a name at its NUL or turn the rest into another name; such a path names nothing. The
// prefixes "\\?\" and "\\.\" are allowed.
bool IsUsablePath(std::string_view path);

// True when the path's last component is a device name that Windows keeps in every folder (CON,
// PRN, AUX, NUL, COM0-9, LPT0-9 with ¹ ² ³, CONIN$, CONOUT$; any case, with or without an
// extension, trailing spaces ignored): opening it reaches a device, never a file.
bool NamesReservedDevice(std::string_view path);
