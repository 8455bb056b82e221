#pragma once

#include <cstdint>
#include <functional>

#include "decoder/drawing_target.h"
#include "platform/memory_surface.h"

namespace inkpane {

// A drawing target without a window: a surface in memory cleared to a
// background colour, and a count of the refreshes the decoder asked for.
class OffscreenTarget final : public DrawingTarget {
 public:
  OffscreenTarget(int width, int height, Colour background);

  std::uint32_t hdc() const override { return surface_.hdc(); }
  void Refresh() override;
  void Drawn(const DrawingReport& report) override { report_ = report; }

  // Called at every refresh, after it is counted.
  void OnRefresh(std::function<void()> observer) { onRefresh_ = std::move(observer); }

  const MemorySurface& surface() const { return surface_; }
  int refreshes() const { return refreshes_; }
  // What the decoder reported at its end.
  const DrawingReport& report() const { return report_; }

  struct Extent {
    int width = 0;
    int height = 0;
  };
  // The smallest rectangle from (0, 0) that holds every pixel differing from
  // the background: what has been drawn, since the decoder never draws grey.
  Extent DrawnExtent() const;

 private:
  MemorySurface surface_;
  Colour background_;
  int refreshes_ = 0;
  DrawingReport report_;
  std::function<void()> onRefresh_;
};

}  // namespace inkpane
