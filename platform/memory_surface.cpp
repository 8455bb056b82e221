#include "platform/memory_surface.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace inkpane {
namespace {

std::size_t PixelCount(int width, int height) {
  if (width < 0 || height < 0) throw std::invalid_argument("MemorySurface: negative size");
  return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

}  // namespace

MemorySurface::MemorySurface(int width, int height, Colour fill)
    : width_(width),
      height_(height),
      owned_(PixelCount(width, height), 0xFF000000u | fill),
      pixels_(owned_),
      deviceContext_(pixels_, width, height, static_cast<std::size_t>(width)),
      filledWith_(fill) {}

MemorySurface::MemorySurface(std::span<std::uint32_t> pixels, int width, int height, Colour fill)
    : width_(width),
      height_(height),
      pixels_(pixels),
      deviceContext_(pixels_, width, height, static_cast<std::size_t>(width)),
      filledWith_(fill) {
  std::ranges::fill(pixels_, 0xFF000000u | fill);
}

// Outside what was drawn since the last fill every pixel has the fill's
// colour, so the new surface has that colour but for what was drawn, copied.
MemorySurface::MemorySurface(std::span<std::uint32_t> pixels, int width, int height, MemorySurface& smaller)
    : MemorySurface(pixels, width, height, smaller.filledWith_) {
  if (width < smaller.width_ || height < smaller.height_) throw std::invalid_argument("MemorySurface: smaller");
  drawnSinceFill_ = smaller.DrawnSinceFill();
  untaken_ = std::exchange(smaller.untaken_, {});
  const PixelRect& drawn = drawnSinceFill_;
  for (std::size_t row = drawn.top; row < drawn.bottom; ++row) {
    std::ranges::copy(
        smaller.Row(static_cast<int>(row)).subspan(drawn.left, drawn.right - drawn.left),
        pixels_.begin() + static_cast<std::ptrdiff_t>(row * static_cast<std::size_t>(width) + drawn.left));
  }
}

PixelRect MemorySurface::TakeChanges() {
  const PixelRect drawn = deviceContext_.TakeChanges();
  drawnSinceFill_ = drawnSinceFill_.United(drawn);
  return std::exchange(untaken_, {}).United(drawn);
}

PixelRect MemorySurface::DrawnSinceFill() {
  const PixelRect untaken = deviceContext_.TakeChanges();
  untaken_ = untaken_.United(untaken);
  drawnSinceFill_ = drawnSinceFill_.United(untaken);
  return drawnSinceFill_;
}

// Clearing the window before each picture is a fill with the same colour, and
// a picture smaller than the window leaves most pixels as they were: only the
// rectangle drawn since the last fill is filled again and shown again.
void MemorySurface::Fill(Colour colour) {
  const PixelRect drawn = DrawnSinceFill();
  const PixelRect stale = colour == filledWith_
                              ? drawn
                              : PixelRect{0, 0, static_cast<std::size_t>(width_), static_cast<std::size_t>(height_)};
  FillArea(stale, colour);
  untaken_ = untaken_.United(stale);
  filledWith_ = colour;
  drawnSinceFill_ = {};
}

// A decoder draws a picture's pixels in reading order, so what it drew is the
// rectangle around them but for the rest of its last row, when a file ends
// early: those few pixels keep the old colour. Telling drawn pixels from the
// others by their colour instead would repaint a picture's black or white
// where the old colour was black or white, as in high contrast.
void MemorySurface::Recolour(Colour colour) {
  if (colour == filledWith_) return;
  const PixelRect drawn = DrawnSinceFill();
  filledWith_ = colour;
  const auto width = static_cast<std::size_t>(width_);
  FillArea({0, 0, width, drawn.top}, colour);
  FillArea({0, drawn.bottom, width, static_cast<std::size_t>(height_)}, colour);
  FillArea({0, drawn.top, drawn.left, drawn.bottom}, colour);
  FillArea({drawn.right, drawn.top, width, drawn.bottom}, colour);
}

void MemorySurface::FillArea(const PixelRect& area, Colour colour) {
  if (area.empty()) return;
  const auto width = static_cast<std::size_t>(width_);
  for (std::size_t row = area.top; row < area.bottom; ++row) {
    const auto line = pixels_.subspan(row * width, width);
    std::fill(line.begin() + static_cast<std::ptrdiff_t>(area.left),
              line.begin() + static_cast<std::ptrdiff_t>(area.right), 0xFF000000u | colour);
  }
}

}  // namespace inkpane
