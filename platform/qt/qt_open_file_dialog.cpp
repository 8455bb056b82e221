#include "platform/qt/qt_open_file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QTreeView>

namespace inkpane {
namespace {

// Qt's dialog selects in its list each row the name box names while a path
// is typed, the folder on the way to the file among them, and lets go of a
// row no longer named only while the name box has the keyboard focus. Its
// Open takes the rows selected before the name typed, so a folder left
// selected, as typing on a loaded machine now and then leaves it, turned
// Return after a file's whole path into a trip to that folder. A name box
// that names a file is what the user asked for.
class OpenFileDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

 protected:
  void accept() override {
    const auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* list = findChild<QListView*>(QStringLiteral("listView"));
    if (name != nullptr && list != nullptr && !name->text().isEmpty() &&
        QFileInfo(directory().absoluteFilePath(name->text())).isFile()) {
      list->selectionModel()->clearSelection();
    }
    QFileDialog::accept();
  }
};

}  // namespace

std::unique_ptr<QFileDialog> NewOpenFileDialog(QWidget& owner) {
  auto dialog = std::make_unique<OpenFileDialog>(&owner);
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

void WatchFolders(QFileDialog& dialog) {
  if (auto* files = dialog.findChild<QFileSystemModel*>()) files->setOption(QFileSystemModel::DontWatchForChanges, false);
}

// Turning watching off drops every watch at once, without a look at storage.
// Moving to the root, a local folder, marks the folder shown as to be listed
// again, so that what came into it meanwhile shows the next time.
void LetGoOfFolders(QFileDialog& dialog) {
  if (auto* files = dialog.findChild<QFileSystemModel*>()) files->setOption(QFileSystemModel::DontWatchForChanges, true);
  dialog.setDirectory(QDir::rootPath());
}

}  // namespace inkpane
