#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <cstdint>

#include "platform/memory_surface.h"

namespace inkpane {

// The client area of the window: an image that keeps what is drawn on it
// through its device context and shows it, one image pixel on one device
// pixel, from the top-left corner. What lies beyond the image shows the
// background colour.
class PersistentImage final : public QWidget {
 public:
  PersistentImage(QSize devicePixels, QColor background);

  std::uint32_t hdc() const { return image_.hdc(); }
  // Fills the image with the background colour; it shows at the next repaint.
  void Clear();
  // The part of the widget over every image pixel changed since the last call;
  // the next call starts from nothing.
  QRect TakeChangedArea();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  MemorySurface image_;
  QColor background_;
};

}  // namespace inkpane
