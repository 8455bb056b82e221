#include "viewer/qt/picture_accessible.h"

#include "viewer/qt/persistent_image.h"

namespace inkpane {
namespace {

// Qt keeps the interface it is given and deletes it with its widget.
QAccessibleInterface* PictureInterface(const QString&, QObject* object) {
  auto* const picture = dynamic_cast<PersistentImage*>(object);
  return picture == nullptr ? nullptr : new PictureAccessible(*picture);
}

}  // namespace

PictureAccessible::PictureAccessible(PersistentImage& picture) : QAccessibleWidget(&picture, QAccessible::Graphic) {}

QString PictureAccessible::text(QAccessible::Text kind) const {
  const PictureDescription& picture = static_cast<const PersistentImage*>(widget())->picture();
  switch (kind) {
    case QAccessible::Name:
      return QString::fromStdString(picture.Name());
    case QAccessible::Description:
      return QString::fromStdString(picture.Description());
    default:
      return QAccessibleWidget::text(kind);
  }
}

QAccessible::State PictureAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.busy = static_cast<const PersistentImage*>(widget())->picture().Busy();
  return state;
}

void PictureAccessible::Install() { QAccessible::installFactory(&PictureInterface); }

}  // namespace inkpane
