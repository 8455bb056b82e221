#pragma once

#include <string_view>

#include "decoder/drawing_target.h"

namespace inkpane {

// What the commands need of the program's one window on any system: it is
// the decoder's drawing target, it clears its persistent image, it greys
// out the Open entry of its menu while a picture is being drawn, and it tells
// a screen reader when an open begins and ends.
class ViewerWindow : public DrawingTarget {
 public:
  // Fills the persistent image with the background colour.
  virtual void Cls() = 0;
  virtual void EnableOpen(bool enabled) = 0;
  // From the chosen file's open to the end of its drawing, the picture is
  // busy; at the end, the window says what it shows.
  virtual void OpeningPicture(std::string_view fileName) = 0;
  virtual void PictureOpened() = 0;
};

}  // namespace inkpane
