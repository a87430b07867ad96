#include "ui/image_list.h"

#include <gtest/gtest.h>

#include "ui/gdi.h"

namespace {

// The verification states: blank, a blue circle, a red cross.
void BlueCircle(HDC dc, const RECT& bounds) {
  ui::BrushHandle brush(CreateSolidBrush(RGB(0, 0, 255)));
  ui::SelectObjectScope selected(dc, brush.get());
  ui::SelectObjectScope pen(dc, GetStockObject(NULL_PEN));
  Ellipse(dc, bounds.left + 1, bounds.top + 1, bounds.right - 1, bounds.bottom - 1);
}

void RedCross(HDC dc, const RECT& bounds) {
  for (int i = 1; i < bounds.right - 1; ++i) {
    SetPixel(dc, i, i, RGB(255, 0, 0));
    SetPixel(dc, bounds.right - 1 - i, i, RGB(255, 0, 0));
  }
}

COLORREF PixelOf(const ui::ImageList& images, int index, int x, int y) {
  ui::WindowDc screen(nullptr);
  ui::MemoryDcHandle dc(CreateCompatibleDC(screen.get()));
  ui::BitmapHandle bitmap(CreateCompatibleBitmap(screen.get(), images.Width(), images.Height()));
  ui::SelectObjectScope selected(dc.get(), bitmap.get());
  const RECT all{0, 0, images.Width(), images.Height()};
  ui::BrushHandle green(CreateSolidBrush(RGB(0, 255, 0)));
  FillRect(dc.get(), &all, green.get());
  ImageList_Draw(images.Handle(), index, dc.get(), 0, 0, ILD_TRANSPARENT);
  return GetPixel(dc.get(), x, y);
}

TEST(ImageList, PicturesDrawnInCodeWithTheMaskColourTransparent) {
  ui::ImageList images(12, 12);
  EXPECT_EQ(images.Add([](HDC, const RECT&) {}), 0);
  EXPECT_EQ(images.Add(BlueCircle), 1);
  EXPECT_EQ(images.Add(RedCross), 2);
  EXPECT_EQ(images.Count(), 3);
  EXPECT_EQ(PixelOf(images, 0, 6, 6), RGB(0, 255, 0));  // blank: background shows through
  EXPECT_EQ(PixelOf(images, 1, 6, 6), RGB(0, 0, 255));
  EXPECT_EQ(PixelOf(images, 1, 0, 0), RGB(0, 255, 0));
  EXPECT_EQ(PixelOf(images, 2, 3, 3), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(images, 2, 6, 1), RGB(0, 255, 0));
}

}  // namespace
