#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "ui/gdi.h"

namespace ui {

// An image list of small pictures drawn in code. Each picture is painted by a function onto a
// bitmap of the list's size that starts filled with the mask colour; what stays in the mask
// colour is transparent.
class ImageList {
 public:
  static constexpr COLORREF kMaskColor = RGB(255, 0, 255);
  using Painter = std::function<void(HDC dc, const RECT& bounds)>;

  explicit ImageList(int width = 16, int height = 16);
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;
  ~ImageList();

  // Sets the picture size; drops the pictures added so far.
  void SetSize(int width, int height);
  // Returns the new picture's index.
  int Add(const Painter& paint);
  [[nodiscard]] int Count() const;
  [[nodiscard]] int Width() const { return width_; }
  [[nodiscard]] int Height() const { return height_; }
  [[nodiscard]] HIMAGELIST Handle() const { return list_.get(); }

 private:
  int width_, height_;
  ImageListHandle list_;
};

}  // namespace ui
