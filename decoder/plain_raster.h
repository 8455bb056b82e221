#pragma once

#include <cstdint>

#include "decoder/drawing_target.h"

namespace inkpane {

// Draws a plain raster of `width` by `height` pixels from the image file slot,
// which stands right after the header, refreshing `target` after rows 0, 16,
// 32, …: slow to read, a plain raster shows its first row at once, then each
// band of sixteen after it. Returns whether the file ended inside the raster,
// whose rest is then white.
bool DrawPlainRaster(std::uint32_t hdc, int width, int height, DrawingTarget& target);

}  // namespace inkpane
