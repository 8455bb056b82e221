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
      pixels_(PixelCount(width, height), 0xFF000000u | fill),
      deviceContext_(pixels_, width, height, static_cast<std::size_t>(width)),
      filledWith_(fill) {}

PixelRect MemorySurface::TakeChanges() {
  const PixelRect drawn = deviceContext_.TakeChanges();
  takenSinceFill_ = takenSinceFill_.United(drawn);
  return drawn.United(std::exchange(refilled_, {}));
}

// Clearing the window before each picture is a fill with the same colour, and
// a picture smaller than the window leaves most pixels as they were: only the
// rectangle drawn since the last fill is filled again and shown again.
void MemorySurface::Fill(Colour colour) {
  const auto width = static_cast<std::size_t>(width_);
  const PixelRect drawnSinceTaken = deviceContext_.TakeChanges();
  const PixelRect stale = colour == filledWith_ ? takenSinceFill_.United(drawnSinceTaken)
                                                : PixelRect{0, 0, width, static_cast<std::size_t>(height_)};
  for (std::size_t row = stale.top; row < stale.bottom; ++row) {
    const auto rowStart = pixels_.begin() + static_cast<std::ptrdiff_t>(row * width);
    std::fill(rowStart + static_cast<std::ptrdiff_t>(stale.left), rowStart + static_cast<std::ptrdiff_t>(stale.right),
              0xFF000000u | colour);
  }
  refilled_ = refilled_.United(stale);
  filledWith_ = colour;
  takenSinceFill_ = {};
}

}  // namespace inkpane
