#pragma once

#include <cstdint>

namespace inkpane {

// What the decoder draws on: a persistent image reached through the device
// context `hdc`, and `Refresh`, which shows that image on screen.
class DrawingTarget {
 public:
  virtual ~DrawingTarget() = default;
  virtual std::uint32_t hdc() const = 0;
  virtual void Refresh() = 0;
};

}  // namespace inkpane
