#include "platform/memory_surface.h"

#include <algorithm>
#include <stdexcept>

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
      deviceContext_(pixels_, width, height, static_cast<std::size_t>(width)) {}

void MemorySurface::Fill(Colour colour) {
  std::ranges::fill(pixels_, 0xFF000000u | colour);
  deviceContext_.MarkAllChanged();
}

}  // namespace inkpane
