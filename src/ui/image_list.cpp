#include "ui/image_list.h"

namespace ui {

ImageList::ImageList(int width, int height) : width_(width), height_(height) { SetSize(width, height); }

ImageList::~ImageList() = default;

void ImageList::SetSize(int width, int height) {
  width_ = width;
  height_ = height;
  list_.reset(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 4, 4));
}

int ImageList::Add(const Painter& paint) {
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
