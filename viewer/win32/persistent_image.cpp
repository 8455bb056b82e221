#include "viewer/win32/persistent_image.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "viewer/high_contrast.h"

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

RECT ToRect(const PixelRect& area) {
  const auto clamp = [](std::size_t value) { return static_cast<LONG>(std::min<std::size_t>(value, 0x7FFFFFFF)); };
  return {clamp(area.left), clamp(area.top), clamp(area.right), clamp(area.bottom)};
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
  cleared_ = cleared_.United(surface_->TakeChanges());
  drawn_ = {};
}

RECT PersistentImage::TakeChanges() {
  const PixelRect drawn = surface_->TakeChanges();
  drawn_ = drawn_.United(drawn);
  return ToRect(std::exchange(cleared_, {}).United(drawn));
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

void PersistentImage::Paint(HDC target, const RECT& area, const PictureColours& colours) const {
  const RECT image{0, 0, surface_->width(), surface_->height()};
  RECT shown;
  if (IntersectRect(&shown, &area, &image)) {
    BitBlt(target, shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, dib_->dc(), shown.left,
           shown.top, SRCCOPY);
    const RECT drawn = ToRect(drawn_);
    RECT picture;
    if (colours != PictureColours{} && IntersectRect(&picture, &shown, &drawn)) {
      PaintInColours(target, picture, colours);
    }
  }
  // A window larger than the largest screen has room right of the image
  // and below it.
  FillWith(target, {std::max(area.left, image.right), area.top, area.right, area.bottom}, surface_->FillColour());
  FillWith(target, {area.left, std::max(area.top, image.bottom), std::min(area.right, image.right), area.bottom},
           surface_->FillColour());
  GdiFlush();
}

// The image keeps the decoder's black and white, so that a switch of colours
// needs no new decode and the decoder draws as fast as ever; the colours are
// changed on the way to the screen, the size of the area painted at a time.
void PersistentImage::PaintInColours(HDC target, const RECT& area, const PictureColours& colours) const {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  const auto stride = static_cast<std::size_t>(surface_->width());
  const std::span<const std::uint32_t> image = dib_->pixels();
  std::vector<std::uint32_t> shown(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  auto out = shown.begin();
  for (int y = area.top; y < area.bottom; ++y) {
    const auto row = image.subspan(static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(area.left),
                                   static_cast<std::size_t>(width));
    out = std::ranges::transform(row, out, [&colours](std::uint32_t pixel) {
            return InHighContrast(pixel, colours.black, colours.white);
          }).out;
  }
  const BITMAPINFO format = TopDownFormat(width, height);
  StretchDIBits(target, area.left, area.top, width, height, 0, 0, width, height, shown.data(), &format, DIB_RGB_COLORS,
                SRCCOPY);
}

}  // namespace inkpane
