#pragma once

#include <QAccessible>
#include <QAccessibleWidget>

namespace inkpane {

class PersistentImage;

// The picture as a screen reader sees it: an image named after its file,
// described by its size and how its drawing ended, and busy while an open is
// under way.
class PictureAccessible final : public QAccessibleWidget {
 public:
  explicit PictureAccessible(PersistentImage& picture);

  QString text(QAccessible::Text kind) const override;
  QAccessible::State state() const override;

  // Finds the interface of every persistent image. Qt asks the factory
  // installed last first, and QApplication installs its own as it is made,
  // so this is installed after that; installing it again changes nothing.
  static void Install();
};

}  // namespace inkpane
