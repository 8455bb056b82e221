#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/device_context.h"

namespace inkpane {

// A persistent image of a fixed size in memory, drawn on through its device
// context. It stands in for a window's surface where there is no screen, and
// keeps the pixels of one where the window system holds them.
class MemorySurface {
 public:
  MemorySurface(int width, int height, Colour fill);
  // Over `height` rows of `width` pixels that someone else owns and keeps
  // while the surface lives. They are filled at once.
  MemorySurface(std::span<std::uint32_t> pixels, int width, int height, Colour fill);
  // Over pixels as above, at least the size of `smaller`, holding what
  // `smaller` drew since its last fill and its fill around it. What `smaller`
  // changed and has not given is given by this surface instead.
  MemorySurface(std::span<std::uint32_t> pixels, int width, int height, MemorySurface& smaller);

  int width() const { return width_; }
  int height() const { return height_; }
  std::uint32_t hdc() const { return deviceContext_.handle(); }
  // The colour of the last fill, or recolouring.
  Colour FillColour() const { return filledWith_; }

  // Every pixel as stored, 0xFFRRGGBB, row after row with no gap between.
  std::span<const std::uint32_t> Pixels() const { return pixels_; }
  // Sets every pixel to `colour`. Only pixels that may differ from it count as
  // changed: after a fill with the same colour, those drawn since.
  void Fill(Colour colour);
  // Gives `colour` to every pixel but the rectangle around those drawn since
  // the last fill, and makes it the fill's colour. Nothing counts as changed:
  // whoever recolours shows the whole surface again.
  void Recolour(Colour colour);
  // What has changed since the last call: see DeviceContext::TakeChanges.
  PixelRect TakeChanges();

  // One row of pixels as stored, 0xFFRRGGBB.
  std::span<const std::uint32_t> Row(int y) const {
    return pixels_.subspan(static_cast<std::size_t>(y) * static_cast<std::size_t>(width_),
                           static_cast<std::size_t>(width_));
  }
  // The colour at (x, y) as 0xRRGGBB.
  Colour PixelAt(int x, int y) const { return Row(y)[static_cast<std::size_t>(x)] & 0x00FFFFFFu; }

 private:
  // Everything drawn since the last fill, taken or not; what the device
  // context held stays to be taken.
  PixelRect DrawnSinceFill();
  void FillArea(const PixelRect& area, Colour colour);

  int width_;
  int height_;
  // Empty when someone else owns the pixels.
  std::vector<std::uint32_t> owned_;
  std::span<std::uint32_t> pixels_;
  DeviceContext deviceContext_;
  // The colour of the last fill, and the rectangle around every pixel drawn
  // since and taken from the device context: outside it and what the device
  // context holds, every pixel still has that colour.
  Colour filledWith_;
  PixelRect drawnSinceFill_;
  // What changed and was not taken yet, beyond what the device context holds.
  // It is kept apart from what was drawn, since refilled pixels have the
  // fill's colour again.
  PixelRect untaken_;
};

}  // namespace inkpane
