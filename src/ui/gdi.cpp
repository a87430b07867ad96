#include "ui/gdi.h"

#include <cwchar>

#include "ui/dpi.h"

namespace ui {

FontHandle CreateFontFrom(const FontSpec& spec, int dpi) {
  LOGFONTW font{};
  font.lfHeight = -ScaleToDpi(spec.height, dpi);  // negative: character height, without the internal leading
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = spec.charset;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  wcsncpy(font.lfFaceName, spec.face.Value().c_str(), LF_FACESIZE - 1);
  return FontHandle(CreateFontIndirectW(&font));
}

int TextMeasurer::Width(HFONT font, std::wstring_view text) {
  if (!dc_) {
    dc_.reset(CreateCompatibleDC(nullptr));
    if (!dc_) return 0;
    original_ = nullptr;
    font_ = nullptr;
  }
  if (font != font_) {
    const HGDIOBJ previous = SelectObject(dc_.get(), font);
    if (previous == nullptr || previous == HGDI_ERROR) return 0;
    if (original_ == nullptr) original_ = previous;
    font_ = font;
  }
  SIZE size{};
  if (!GetTextExtentPoint32W(dc_.get(), text.data(), static_cast<int>(text.size()), &size)) return 0;
  return size.cx;
}

void TextMeasurer::Forget() noexcept {
  if (dc_ && original_ != nullptr) SelectObject(dc_.get(), original_);
  dc_.reset();
  original_ = nullptr;
  font_ = nullptr;
}

}  // namespace ui
