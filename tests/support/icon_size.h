#pragma once

#include <windows.h>

#include <utility>

#include "ui/gdi.h"

// The pixel size of an icon's colour image; (0, 0) for no icon.
inline std::pair<int, int> IconSize(HICON icon) {
  ICONINFO info{};
  if (icon == nullptr || !GetIconInfo(icon, &info)) return {0, 0};
  const ui::BitmapHandle colour(info.hbmColor);
  const ui::BitmapHandle mask(info.hbmMask);
  BITMAP bitmap{};
  if (GetObjectW(colour.get(), sizeof bitmap, &bitmap) == 0) return {0, 0};
  return {bitmap.bmWidth, bitmap.bmHeight};
}
