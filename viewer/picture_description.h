#pragma once

#include <string>
#include <string_view>

#include "decoder/drawing_target.h"

namespace inkpane {

// What the window tells a screen reader of its picture, the same on every
// system: the file's name, the picture's size, how the drawing ended, and
// whether an open is under way.
class PictureDescription {
 public:
  // "No picture" before the first open; then the file's name, without its
  // folder.
  const std::string& Name() const { return name_; }
  // The picture's size, as "2480 × 3508 pixels", and a few words more when
  // the drawing stopped early; empty before the first open and during one.
  const std::string& Description() const { return description_; }
  bool Busy() const { return busy_; }

  void Opening(std::string_view fileName);
  void Drawn(const DrawingReport& report);
  void Opened() { busy_ = false; }

 private:
  std::string name_ = "No picture";
  std::string description_;
  bool busy_ = false;
};

}  // namespace inkpane
