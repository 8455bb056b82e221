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

PixelRect Whole(int width, int height) {
  return {0, 0, static_cast<std::size_t>(width), static_cast<std::size_t>(height)};
}

}  // namespace

PersistentImage::PersistentImage(SIZE size, Colour background)
    : width_(size.cx),
      height_(size.cy),
      background_(background),
      dib_(std::make_unique<DibSection>(width_, height_)),
      deviceContext_(
          std::make_unique<DeviceContext>(dib_->pixels(), width_, height_, static_cast<std::size_t>(width_))) {
  Fill(Whole(width_, height_));
}

// Only what was drawn since the last clear can differ from the background,
// so only that is filled again, and only that needs repainting.
void PersistentImage::Clear() {
  const PixelRect drawn = DrawnSinceClear();
  Fill(drawn);
  cleared_ = cleared_.United(drawn);
  drawnSinceClear_ = {};
}

PixelRect PersistentImage::TakeChanges() {
  const PixelRect drawn = deviceContext_->TakeChanges();
  drawnSinceClear_ = drawnSinceClear_.United(drawn);
  return std::exchange(cleared_, {}).United(drawn);
}

// What the device context holds is taken from it, and stays to be repainted.
PixelRect PersistentImage::DrawnSinceClear() {
  const PixelRect untaken = deviceContext_->TakeChanges();
  cleared_ = cleared_.United(untaken);
  drawnSinceClear_ = drawnSinceClear_.United(untaken);
  return drawnSinceClear_;
}

// Outside what was drawn since the last clear every pixel is background, so
// the new image is background but for that, copied over.
void PersistentImage::Grow(SIZE size) {
  const int width = std::max<int>(width_, size.cx);
  const int height = std::max<int>(height_, size.cy);
  if (width == width_ && height == height_) return;
  const PixelRect drawn = DrawnSinceClear();
  auto dib = std::make_unique<DibSection>(width, height);
  auto deviceContext = std::make_unique<DeviceContext>(dib->pixels(), width, height, static_cast<std::size_t>(width));
  GdiFlush();
  const std::uint32_t pixel = 0xFF000000u | background_;
  std::ranges::fill(dib->pixels(), pixel);
  for (std::size_t row = drawn.top; row < drawn.bottom; ++row) {
    const auto from =
        dib_->pixels().subspan(row * static_cast<std::size_t>(width_) + drawn.left, drawn.right - drawn.left);
    std::ranges::copy(
        from, dib->pixels().begin() + static_cast<std::ptrdiff_t>(row * static_cast<std::size_t>(width) + drawn.left));
  }
  deviceContext_ = std::move(deviceContext);
  dib_ = std::move(dib);
  width_ = width;
  height_ = height;
}

// A decoder draws a picture's pixels in reading order, so what it drew is the
// rectangle around them but for the rest of its last row, when a file ends
// early: those few pixels keep the old colour. Telling drawn pixels from the
// others by their colour instead would repaint a picture's black or white
// where the old workspace colour was black or white, as in high contrast.
void PersistentImage::Recolour(Colour background) {
  if (background == background_) return;
  const PixelRect drawn = DrawnSinceClear();
  background_ = background;
  const std::size_t width = static_cast<std::size_t>(width_);
  const std::size_t height = static_cast<std::size_t>(height_);
  if (drawn.empty()) {
    Fill(Whole(width_, height_));
    return;
  }
  Fill({0, 0, width, drawn.top});
  Fill({0, drawn.bottom, width, height});
  Fill({0, drawn.top, drawn.left, drawn.bottom});
  Fill({drawn.right, drawn.top, width, drawn.bottom});
}

void PersistentImage::Fill(const PixelRect& area) {
  if (area.empty()) return;
  // GDI may still be copying from the bitmap: it must be done before the
  // pixels change under it.
  GdiFlush();
  const std::uint32_t pixel = 0xFF000000u | background_;
  const std::size_t width = static_cast<std::size_t>(width_);
  for (std::size_t row = area.top; row < area.bottom; ++row) {
    const auto line = dib_->pixels().subspan(row * width, width);
    std::fill(line.begin() + static_cast<std::ptrdiff_t>(area.left),
              line.begin() + static_cast<std::ptrdiff_t>(area.right), pixel);
  }
}

void PersistentImage::Paint(HDC target, const RECT& area) const {
  const RECT image{0, 0, width_, height_};
  RECT shown;
  if (IntersectRect(&shown, &area, &image)) {
    BitBlt(target, shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, dib_->dc(), shown.left,
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
