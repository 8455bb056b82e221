#pragma once

#include "decoder/drawing_target.h"

namespace inkpane {

// What the commands need of the program's one window on any system: it is
// the decoder's drawing target, it clears its persistent image, and it greys
// out the Open entry of its menu while a picture is being drawn.
class ViewerWindow : public DrawingTarget {
 public:
  // Fills the persistent image with the background colour.
  virtual void Cls() = 0;
  virtual void EnableOpen(bool enabled) = 0;
};

}  // namespace inkpane
