#pragma once

#include <memory>

class QFileDialog;
class QWidget;

namespace inkpane {

// Qt's own open-file dialog for one existing file, modal to `owner`, sized
// so that the columns of its file list read whole.
std::unique_ptr<QFileDialog> NewOpenFileDialog(QWidget& owner);

}  // namespace inkpane
