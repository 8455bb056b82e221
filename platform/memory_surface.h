#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/device_context.h"

namespace inkpane {

// A persistent image of a fixed size in memory, drawn on through its device
// context. It stands in for a window's surface where there is no screen.
class MemorySurface {
 public:
  MemorySurface(int width, int height, Colour fill);

  int width() const { return width_; }
  int height() const { return height_; }
  std::uint32_t hdc() const { return deviceContext_.handle(); }

  // Every pixel as stored, 0xFFRRGGBB, row after row with no gap between.
  std::span<const std::uint32_t> Pixels() const { return pixels_; }
  // Sets every pixel to `colour`. Only pixels that may differ from it count as
  // changed: after a fill with the same colour, those drawn since.
  void Fill(Colour colour);
  // What has changed since the last call: see DeviceContext::TakeChanges.
  PixelRect TakeChanges();

  // One row of pixels as stored, 0xFFRRGGBB.
  std::span<const std::uint32_t> Row(int y) const {
    return std::span(pixels_).subspan(static_cast<std::size_t>(y) * static_cast<std::size_t>(width_),
                                      static_cast<std::size_t>(width_));
  }
  // The colour at (x, y) as 0xRRGGBB.
  Colour PixelAt(int x, int y) const { return Row(y)[static_cast<std::size_t>(x)] & 0x00FFFFFFu; }

 private:
  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
  DeviceContext deviceContext_;
  // The colour of the last fill, and the rectangle around every pixel drawn
  // and taken since: outside it, every pixel still has that colour.
  Colour filledWith_;
  PixelRect takenSinceFill_;
  // What fills changed that has not been taken yet. It is kept apart from
  // what was drawn, since refilled pixels have the fill's colour again.
  PixelRect refilled_;
};

}  // namespace inkpane
