#pragma once

#include <cstdint>
#include <optional>

namespace inkpane {

// What the decoder tells its target when it is done: the picture's size, once
// its header was read, and how far the drawing got.
struct DrawingReport {
  struct Size {
    int width = 0;
    int height = 0;

    bool operator==(const Size&) const = default;
  };
  enum class End {
    Whole,
    // The file ended inside the raster, whose rest is white.
    RasterCut,
    // An error was reported, or the file is not a PBM picture.
    Failed,
  };

  std::optional<Size> size;
  End end = End::Failed;

  bool operator==(const DrawingReport&) const = default;
};

// What the decoder draws on: a persistent image reached through the device
// context `hdc`, and `Refresh`, which shows that image on screen.
class DrawingTarget {
 public:
  virtual ~DrawingTarget() = default;
  virtual std::uint32_t hdc() const = 0;
  virtual void Refresh() = 0;
  // Told at the end of every decode, after any message box, what was drawn:
  // a window says so to those who cannot see the picture.
  virtual void Drawn(const DrawingReport&) {}
};

}  // namespace inkpane
