#include "platform/qt/qt_open_file_dialog.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>

namespace inkpane {

std::unique_ptr<QFileDialog> NewOpenFileDialog(QWidget& owner) {
  auto dialog = std::make_unique<QFileDialog>(&owner);
  // The desktop's own dialog may record recently used files; Qt's does not.
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setFileMode(QFileDialog::ExistingFile);
  // Qt starts the Size, Type and Date columns at fixed widths that cut
  // entries such as "532 bytes" and "PBM image" whatever the dialog's size.
  // They follow their entries instead, and the names take the width left,
  // which the dialog's size makes room for.
  for (QTreeView* list : dialog->findChildren<QTreeView*>()) {
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  }
  const int em = dialog->fontMetrics().horizontalAdvance(QLatin1Char('M'));
  dialog->resize(72 * em, 32 * dialog->fontMetrics().height());
  return dialog;
}

}  // namespace inkpane
