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
    : width_(size.cx),
      height_(size.cy),
      background_(background),
      dib_(width_, height_),
      deviceContext_(dib_.pixels(), width_, height_, static_cast<std::size_t>(width_)) {
  Fill({0, 0, static_cast<std::size_t>(width_), static_cast<std::size_t>(height_)});
}

// Only what was drawn since the last clear can differ from the background,
// so only that is filled again, and only that needs repainting.
void PersistentImage::Clear() {
  const PixelRect drawn = drawnSinceClear_.United(deviceContext_.TakeChanges());
  Fill(drawn);
  cleared_ = cleared_.United(drawn);
  drawnSinceClear_ = {};
}

PixelRect PersistentImage::TakeChanges() {
  const PixelRect drawn = deviceContext_.TakeChanges();
  drawnSinceClear_ = drawnSinceClear_.United(drawn);
  return std::exchange(cleared_, {}).United(drawn);
}

void PersistentImage::Fill(const PixelRect& area) {
  if (area.empty()) return;
  // GDI may still be copying from the bitmap: it must be done before the
  // pixels change under it.
  GdiFlush();
  const std::uint32_t pixel = 0xFF000000u | background_;
  const std::size_t width = static_cast<std::size_t>(width_);
  for (std::size_t row = area.top; row < area.bottom; ++row) {
    const auto line = dib_.pixels().subspan(row * width, width);
    std::fill(line.begin() + static_cast<std::ptrdiff_t>(area.left),
              line.begin() + static_cast<std::ptrdiff_t>(area.right), pixel);
  }
}

void PersistentImage::Paint(HDC target, const RECT& area) const {
  const RECT image{0, 0, width_, height_};
  RECT shown;
  if (IntersectRect(&shown, &area, &image)) {
    BitBlt(target, shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, dib_.dc(), shown.left,
           shown.top, SRCCOPY);
  }
  // A window larger than the largest screen has room right of the image
  // and below it.
  FillWith(target, {std::max(area.left, image.right), area.top, area.right, area.bottom}, background_);
  FillWith(target, {area.left, std::max(area.top, image.bottom), std::min(area.right, image.right), area.bottom},
           background_);
  GdiFlush();
}

}  // namespace inkpane
