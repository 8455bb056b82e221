#include "viewer/win32/persistent_image.h"

#include <algorithm>
#include <utility>

namespace inkpane {
namespace {

COLORREF ToColorRef(Colour colour) { return RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF); }

// Fills a rectangle of the client area with one colour through the device
// context's own brush, which needs no brush to be made and deleted.
void FillWith(HDC target, const RECT& area, Colour colour) {
  if (IsRectEmpty(&area)) return;
  SetDCBrushColor(target, ToColorRef(colour));
  FillRect(target, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

}  // namespace

PersistentImage::PersistentImage(SIZE size, Colour background)
    : dib_(std::make_unique<DibSection>(size.cx, size.cy)),
      surface_(std::make_unique<MemorySurface>(dib_->pixels(), size.cx, size.cy, background)) {}

// GDI may still be copying from the bitmap: it must be done before the pixels
// change under it.
void PersistentImage::Clear() {
  GdiFlush();
  surface_->Fill(surface_->FillColour());
}

void PersistentImage::Grow(SIZE size) {
  const int width = std::max<int>(surface_->width(), size.cx);
  const int height = std::max<int>(surface_->height(), size.cy);
  if (width == surface_->width() && height == surface_->height()) return;
  auto dib = std::make_unique<DibSection>(width, height);
  GdiFlush();
  surface_ = std::make_unique<MemorySurface>(dib->pixels(), width, height, *surface_);
  dib_ = std::move(dib);
}

void PersistentImage::Recolour(Colour background) {
  GdiFlush();
  surface_->Recolour(background);
}

void PersistentImage::Paint(HDC target, const RECT& area) const {
  const RECT image{0, 0, surface_->width(), surface_->height()};
  RECT shown;
  if (IntersectRect(&shown, &area, &image)) {
    BitBlt(target, shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, dib_->dc(), shown.left,
           shown.top, SRCCOPY);
  }
  // A window larger than the largest screen has room right of the image
  // and below it.
  FillWith(target, {std::max(area.left, image.right), area.top, area.right, area.bottom}, surface_->FillColour());
  FillWith(target, {area.left, std::max(area.top, image.bottom), std::min(area.right, image.right), area.bottom},
           surface_->FillColour());
  GdiFlush();
}

}  // namespace inkpane
