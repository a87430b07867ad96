#include "app/state_pictures.h"

#include <windows.h>

#include "ui/gdi.h"

namespace {

// The pictures are designed at kStatePictureSize; drawn larger (at a higher DPI), strokes and
// insets grow with them.
int AtSize(int designed, const RECT& bounds) { return MulDiv(designed, bounds.bottom - bounds.top, kStatePictureSize); }

void PaintBlueCircle(HDC dc, const RECT& bounds) {
  const ui::PenHandle pen(CreatePen(PS_SOLID, AtSize(2, bounds), RGB(0, 0, 255)));
  const ui::SelectObjectScope usePen(dc, pen.get());
  const ui::SelectObjectScope noFill(dc, GetStockObject(NULL_BRUSH));
  const int inset = AtSize(1, bounds);
  Ellipse(dc, bounds.left + inset, bounds.top + inset, bounds.right - inset, bounds.bottom - inset);
}

void PaintRedCross(HDC dc, const RECT& bounds) {
  const ui::PenHandle pen(CreatePen(PS_SOLID, AtSize(2, bounds), RGB(255, 0, 0)));
  const ui::SelectObjectScope usePen(dc, pen.get());
  const int edge = AtSize(1, bounds);
  const int inset = AtSize(2, bounds);
  const int across = AtSize(3, bounds);
  MoveToEx(dc, bounds.left + inset, bounds.top + inset, nullptr);
  LineTo(dc, bounds.right - inset, bounds.bottom - inset);
  MoveToEx(dc, bounds.right - across, bounds.top + inset, nullptr);
  LineTo(dc, bounds.left + edge, bounds.bottom - inset);
}

}  // namespace

void AddStatePictures(ui::ImageList& pictures) {
  pictures.Add([](HDC, const RECT&) {});
  pictures.Add(PaintBlueCircle);
  pictures.Add(PaintRedCross);
}
