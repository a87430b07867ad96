#pragma once

#include <windows.h>

#include "ui/types.h"

// The program's two fonts, both 12 pixels high with the Shift-JIS character set: the
// proportional one of the main and the verification window, and the fixed-pitch one of the lists,
// the creation window and the text view, in which a list's table lines up.
inline const ui::FontSpec kProportionalFont{.face = u8"ＭＳ Ｐゴシック", .height = 12, .charset = SHIFTJIS_CHARSET};
inline const ui::FontSpec kFixedPitchFont{.face = u8"ＭＳ ゴシック", .height = 12, .charset = SHIFTJIS_CHARSET};
