#include "viewer/qt/persistent_image.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <cmath>

namespace inkpane {

PersistentImage::PersistentImage(QSize devicePixels, QColor background)
    : image_(devicePixels.width(), devicePixels.height(), background.rgb() & 0x00FFFFFFu), background_(background) {
  // Every paint covers the whole region it is given, so Qt need not erase it.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PersistentImage::Clear() { image_.Fill(background_.rgb() & 0x00FFFFFFu); }

QRect PersistentImage::TakeChangedArea() {
  const PixelRect changed = image_.TakeChanges();
  if (changed.empty()) return {};
  // Under a scaled display a widget unit covers several image pixels: take in
  // every unit that shows part of a changed pixel.
  const qreal ratio = devicePixelRatioF();
  const auto inward = [ratio](std::size_t pixels) { return static_cast<int>(std::floor(pixels / ratio)); };
  const auto outward = [ratio](std::size_t pixels) { return static_cast<int>(std::ceil(pixels / ratio)); };
  return QRect(QPoint(inward(changed.left), inward(changed.top)),
               QPoint(outward(changed.right) - 1, outward(changed.bottom) - 1));
}

void PersistentImage::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  // The pixels are shown where they are, without a copy: the image stores
  // 0xFFRRGGBB, which is Qt's RGB32 layout.
  QImage view(reinterpret_cast<const uchar*>(image_.Pixels().data()), image_.width(), image_.height(),
              static_cast<qsizetype>(image_.width()) * 4, QImage::Format_RGB32);
  // Under a scaled display, the image still puts one pixel on one device pixel.
  const qreal ratio = devicePixelRatioF();
  view.setDevicePixelRatio(ratio);
  painter.drawImage(QPointF(0, 0), view);

  const QRect imageArea(0, 0, static_cast<int>(std::floor(image_.width() / ratio)),
                        static_cast<int>(std::floor(image_.height() / ratio)));
  for (const QRect& beyond : event->region() - imageArea) painter.fillRect(beyond, background_);
}

}  // namespace inkpane
