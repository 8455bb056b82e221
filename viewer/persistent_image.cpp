#include "viewer/persistent_image.h"

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
