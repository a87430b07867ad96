#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <vector>

#include "ui/gdi.h"

namespace ui {

// An image list of small pictures drawn in code. Each picture is painted by a function onto a
// bitmap of the list's size that starts filled with the mask colour; what stays in the mask
// colour is transparent. The size is designed at 96 DPI; at another DPI (SetDpi) every picture is
// painted again, larger, by its function.
class ImageList {
 public:
  static constexpr COLORREF kMaskColor = RGB(255, 0, 255);
  using Painter = std::function<void(HDC dc, const RECT& bounds)>;

  explicit ImageList(int width = 16, int height = 16);
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;
  ~ImageList();

  // Sets the picture size (designed at 96 DPI); drops the pictures added so far.
  void SetSize(int width, int height);
  // Paints every picture again at the size for this DPI; the handle stays the same.
  void SetDpi(int dpi);
  // Returns the new picture's index.
  int Add(const Painter& paint);
  [[nodiscard]] int Count() const;
  // The pictures' size in pixels at the list's DPI.
  [[nodiscard]] int Width() const { return width_; }
  [[nodiscard]] int Height() const { return height_; }
  [[nodiscard]] HIMAGELIST Handle() const { return list_.get(); }

 private:
  int Paint(const Painter& paint);

  int designWidth_, designHeight_;
  int dpi_;
  int width_, height_;
  std::vector<Painter> painters_;
  ImageListHandle list_;
};

}  // namespace ui
