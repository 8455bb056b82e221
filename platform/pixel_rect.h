#pragma once

#include <algorithm>
#include <cstddef>

namespace inkpane {

// A rectangle of surface pixels, `right` and `bottom` exclusive. It is empty
// when it has no width or no height.
struct PixelRect {
  std::size_t left = 0;
  std::size_t top = 0;
  std::size_t right = 0;
  std::size_t bottom = 0;

  bool empty() const { return left >= right || top >= bottom; }
  // The smallest rectangle holding both.
  PixelRect United(const PixelRect& other) const {
    if (empty()) return other;
    if (other.empty()) return *this;
    return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom)};
  }
  bool operator==(const PixelRect&) const = default;
};

}  // namespace inkpane
