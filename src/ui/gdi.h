#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string_view>

#include "ui/types.h"
#include "win/handle.h"

// Move-only owners of GDI objects, device contexts, menus and image lists.
namespace ui {

// GDI objects, menus and image lists: the platform layer's one handle template, null when none.
template <typename Value, auto Release>
using GdiHandle = win::Handle<win::NullInvalidTraits<Value, Release>>;

namespace detail {
inline BOOL WINAPI DeleteFontObject(HFONT font) { return DeleteObject(font); }
inline BOOL WINAPI DeleteBitmapObject(HBITMAP bitmap) { return DeleteObject(bitmap); }
inline BOOL WINAPI DeleteBrushObject(HBRUSH brush) { return DeleteObject(brush); }
inline BOOL WINAPI DeletePenObject(HPEN pen) { return DeleteObject(pen); }
inline BOOL WINAPI DestroyImageList(HIMAGELIST list) { return ImageList_Destroy(list); }
}  // namespace detail

using FontHandle = GdiHandle<HFONT, detail::DeleteFontObject>;
using BitmapHandle = GdiHandle<HBITMAP, detail::DeleteBitmapObject>;
using BrushHandle = GdiHandle<HBRUSH, detail::DeleteBrushObject>;
using PenHandle = GdiHandle<HPEN, detail::DeletePenObject>;
using MenuHandle = GdiHandle<HMENU, DestroyMenu>;
using ImageListHandle = GdiHandle<HIMAGELIST, detail::DestroyImageList>;
using MemoryDcHandle = GdiHandle<HDC, DeleteDC>;  // from CreateCompatibleDC

// A font made from a FontSpec at a DPI (CreateFontW with a negative height): the spec's height,
// designed at 96 DPI, scaled, so that the font keeps its point size (12 pixels at 96 DPI are 18 at 144).
FontHandle CreateFontFrom(const FontSpec& spec, int dpi);

// GetDC / ReleaseDC with the same window.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_ != nullptr) ReleaseDC(window_, dc_);
  }
  [[nodiscard]] HDC get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint / EndPaint for one WM_PAINT.
class PaintDc {
 public:
  explicit PaintDc(HWND window) noexcept : window_(window) { dc_ = BeginPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { EndPaint(window_, &paint_); }
  [[nodiscard]] HDC get() const noexcept { return dc_; }
  [[nodiscard]] const PAINTSTRUCT& paint() const noexcept { return paint_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_ = nullptr;
};

// Selects an object into a DC for one scope and puts the previous one back.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;
  ~SelectObjectScope() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Measures texts in one memory DC that lives as long as this object and keeps the last font
// selected: creating a DC and realizing a font cost far more than the measuring (under Wine, a
// round of font loading per DC). Forget() before that font is destroyed.
class TextMeasurer {
 public:
  TextMeasurer() noexcept = default;
  TextMeasurer(const TextMeasurer&) = delete;
  TextMeasurer& operator=(const TextMeasurer&) = delete;
  ~TextMeasurer() { Forget(); }

  // Width in pixels of one line of text in the font.
  [[nodiscard]] int Width(HFONT font, std::wstring_view text);
  // Puts the DC's own font back and lets the DC go.
  void Forget() noexcept;

 private:
  MemoryDcHandle dc_;
  HGDIOBJ original_ = nullptr;
  HFONT font_ = nullptr;
};

}  // namespace ui
