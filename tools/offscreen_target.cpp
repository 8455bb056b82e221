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
  const std::uint32_t background = 0xFF000000u | background_;
  Extent extent;
  for (int y = 0; y < surface_.height(); ++y) {
    const std::span<const std::uint32_t> row = surface_.Row(y);
    const auto lastDrawn = std::find_if(row.rbegin(), row.rend(), [&](std::uint32_t p) { return p != background; });
    if (lastDrawn != row.rend()) {
      extent.width = std::max(extent.width, static_cast<int>(row.rend() - lastDrawn));
      extent.height = y + 1;
    }
  }
  return extent;
}

}  // namespace inkpane
