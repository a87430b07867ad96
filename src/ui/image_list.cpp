#include "ui/image_list.h"

#include "ui/dpi.h"

namespace ui {

ImageList::ImageList(int width, int height)
    : designWidth_(width), designHeight_(height), dpi_(kDesignDpi), width_(width), height_(height) {
  SetSize(width, height);
}

ImageList::~ImageList() = default;

void ImageList::SetSize(int width, int height) {
  designWidth_ = width;
  designHeight_ = height;
  width_ = ScaleToDpi(width, dpi_);
  height_ = ScaleToDpi(height, dpi_);
  painters_.clear();
  list_.reset(ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 4, 4));
}

void ImageList::SetDpi(int dpi) {
  if (dpi == dpi_ || dpi <= 0) return;
  dpi_ = dpi;
  width_ = ScaleToDpi(designWidth_, dpi);
  height_ = ScaleToDpi(designHeight_, dpi);
  // Empties the list but keeps its handle, which the list views hold.
  ImageList_SetIconSize(list_.get(), width_, height_);
  for (const Painter& paint : painters_) Paint(paint);
}

int ImageList::Add(const Painter& paint) {
  painters_.push_back(paint);
  return Paint(paint);
}

int ImageList::Paint(const Painter& paint) {
  WindowDc screen(nullptr);
  BitmapHandle bitmap(CreateCompatibleBitmap(screen.get(), width_, height_));
  {
    MemoryDcHandle dc(CreateCompatibleDC(screen.get()));
    SelectObjectScope selected(dc.get(), bitmap.get());
    const RECT bounds{0, 0, width_, height_};
    BrushHandle mask(CreateSolidBrush(kMaskColor));
    FillRect(dc.get(), &bounds, mask.get());
    paint(dc.get(), bounds);
  }  // the bitmap must be out of the DC before the list copies it
  return ImageList_AddMasked(list_.get(), bitmap.get(), kMaskColor);
}

int ImageList::Count() const { return ImageList_GetImageCount(list_.get()); }

}  // namespace ui
