#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <cstdint>

#include "platform/memory_surface.h"
#include "viewer/picture_description.h"

namespace inkpane {

// The client area of the window: an image that keeps what is drawn on it
// through its device context and shows it, one image pixel on one device
// pixel, from the top-left corner. What lies beyond the image shows the
// background colour. It takes the keyboard focus, and tells a screen reader
// what `picture` says of what it shows.
//
// In high contrast the picture is shown in the palette's colours for text:
// its black pixels in the text colour, its white pixels in the base colour
// behind text, as a high-contrast theme sets them. The image keeps black and
// white, so switching only repaints.
class PersistentImage final : public QWidget {
 public:
  PersistentImage(QSize devicePixels, QColor background, const PictureDescription& picture);

  std::uint32_t hdc() const { return image_.hdc(); }
  const PictureDescription& picture() const { return picture_; }
  // Fills the image with the background colour; it shows at the next repaint.
  void Clear();
  // The part of the widget over every image pixel changed since the last call;
  // the next call starts from nothing.
  QRect TakeChangedArea();
  void SetHighContrast(bool on);

 protected:
  void paintEvent(QPaintEvent* event) override;
  // The picture shows no mark of the focus, so the focus coming or going
  // repaints nothing.
  void focusInEvent(QFocusEvent*) override {}
  void focusOutEvent(QFocusEvent*) override {}

 private:
  MemorySurface image_;
  QColor background_;
  const PictureDescription& picture_;
  bool highContrast_ = false;
};

}  // namespace inkpane
