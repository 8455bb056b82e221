#include "tools/offscreen_target.h"

#include <algorithm>

namespace inkpane {

OffscreenTarget::OffscreenTarget(int width, int height, Colour background)
    : surface_(width, height, background), background_(background) {}

void OffscreenTarget::Refresh() {
  ++refreshes_;
  if (onRefresh_) onRefresh_();
}

OffscreenTarget::Extent OffscreenTarget::DrawnExtent() const {
  Extent extent;
  for (int y = 0; y < surface_.height(); ++y) {
    for (int x = 0; x < surface_.width(); ++x) {
      if (surface_.PixelAt(x, y) != background_) {
        extent.width = std::max(extent.width, x + 1);
        extent.height = y + 1;
      }
    }
  }
  return extent;
}

}  // namespace inkpane
