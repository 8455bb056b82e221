#pragma once

#include <cstdint>
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

  void Fill(Colour colour);
  // The colour at (x, y) as 0xRRGGBB; the point must lie on the surface.
  Colour PixelAt(int x, int y) const;

 private:
  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
  DeviceContext deviceContext_;
};

}  // namespace inkpane
