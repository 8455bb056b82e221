#include "viewer/qt/persistent_image.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QRegion>
#include <cmath>

#include "viewer/high_contrast.h"
#include "viewer/qt/picture_accessible.h"

namespace inkpane {
namespace {

constexpr QRgb kColourBits = 0x00FFFFFFu;

void Recolour(QImage& part, QRgb black, QRgb white) {
  for (int y = 0; y < part.height(); ++y) {
    auto* const row = reinterpret_cast<QRgb*>(part.scanLine(y));
    for (int x = 0; x < part.width(); ++x) row[x] = InHighContrast(row[x], black, white);
  }
}

}  // namespace

PersistentImage::PersistentImage(QSize devicePixels, QColor background, const PictureDescription& picture)
    : image_(devicePixels.width(), devicePixels.height(), background.rgb() & kColourBits),
      background_(background),
      picture_(picture) {
  PictureAccessible::Install();
  // Every paint covers the whole region it is given, so Qt need not erase it.
  setAttribute(Qt::WA_OpaquePaintEvent);
  // The picture is what the window is for: the keyboard focus rests on it,
  // where a screen reader reads it. The menus keep their keys.
  setFocusPolicy(Qt::StrongFocus);
}

void PersistentImage::Clear() { image_.Fill(background_.rgb() & kColourBits); }

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

void PersistentImage::SetHighContrast(bool on) {
  if (on == highContrast_) return;
  highContrast_ = on;
  update();
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
  if (highContrast_) {
    // Only the part to be painted is copied and recoloured, so a refresh of a
    // strip costs a strip.
    const QRectF area = event->rect();
    const QRect exposed =
        QRectF(area.topLeft() * ratio, area.size() * ratio).toAlignedRect() & QRect(QPoint(0, 0), view.size());
    QImage part = view.copy(exposed);
    Recolour(part, palette().color(QPalette::Text).rgb(), palette().color(QPalette::Base).rgb());
    painter.drawImage(QPointF(exposed.topLeft()) / ratio, part);
  } else {
    painter.drawImage(QPointF(0, 0), view);
  }

  const QRect imageArea(0, 0, static_cast<int>(std::floor(image_.width() / ratio)),
                        static_cast<int>(std::floor(image_.height() / ratio)));
  for (const QRect& beyond : event->region() - imageArea) painter.fillRect(beyond, background_);
}

}  // namespace inkpane
