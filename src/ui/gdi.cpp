#include "ui/gdi.h"

#include <cwchar>

namespace ui {

FontHandle CreateFontFrom(const FontSpec& spec) {
  LOGFONTW font{};
  font.lfHeight = -spec.height;  // negative: character height, without the internal leading
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = spec.charset;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  wcsncpy(font.lfFaceName, spec.face.Value().c_str(), LF_FACESIZE - 1);
  return FontHandle(CreateFontIndirectW(&font));
}

}  // namespace ui
