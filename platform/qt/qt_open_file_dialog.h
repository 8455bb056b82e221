#pragma once

#include <memory>

class QFileDialog;
class QWidget;

namespace inkpane {

// Qt's own open-file dialog for one existing file, modal to `owner`, sized
// so that the columns of its file list read whole.
std::unique_ptr<QFileDialog> NewOpenFileDialog(QWidget& owner);

// Qt's dialog watches every folder it has listed for as long as it lives, a
// busy one costing the window thread time on each change. The dialog watches
// from WatchFolders, before its folder is set, until LetGoOfFolders, once
// its answer is read; the folder it showed is then listed afresh next time.
void WatchFolders(QFileDialog& dialog);
void LetGoOfFolders(QFileDialog& dialog);

}  // namespace inkpane
