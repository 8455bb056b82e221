#include "viewer/qt/form1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <cmath>
#include <string>

#include "viewer/commands.h"

namespace inkpane {
namespace {

constexpr int kClientWidth = 449;
constexpr int kClientHeight = 343;

// The persistent image covers the largest screen in device pixels, so the
// window can be maximised on any of them and still show the whole picture.
QSize LargestScreenInDevicePixels() {
  QSize largest(1, 1);
  for (const QScreen* screen : QGuiApplication::screens()) {
    const qreal ratio = screen->devicePixelRatio();
    largest = largest.expandedTo(QSize(static_cast<int>(std::ceil(screen->size().width() * ratio)),
                                       static_cast<int>(std::ceil(screen->size().height() * ratio))));
  }
  return largest;
}

// The colour Qt shows behind the windows of a multiple-document workspace.
QColor WorkspaceColour() { return QApplication::palette().color(QPalette::Dark); }

QIcon ApplicationIcon() {
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/inkpane-16.xpm"));
  icon.addFile(QStringLiteral(":/icons/inkpane-32.xpm"));
  icon.addFile(QStringLiteral(":/icons/inkpane-32-mono.xpm"));
  return icon;
}

std::string QtLines() {
  return "Built with Qt " QT_VERSION_STR ", running on Qt " + std::string(qVersion()) + " (" +
         QGuiApplication::platformName().toStdString() +
         ").\r\n"
         "Qt is used under the GNU Lesser General Public License, version 3.";
}

}  // namespace

Form1::Form1() : platform_(*this), image_(LargestScreenInDevicePixels(), WorkspaceColour()) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Inkpane 1.1"));
  setWindowIcon(ApplicationIcon());
  setCentralWidget(&image_);

  mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
  mnuOpen = mnuFile->addAction(QStringLiteral("&Open"));
  mnuSep1 = mnuFile->addSeparator();
  mnuExit = mnuFile->addAction(QStringLiteral("&Exit"));
  mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
  mnuAbout = mnuHelp->addAction(QStringLiteral("&About..."));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  mnuOpen->setObjectName(QStringLiteral("mnuOpen"));
  mnuSep1->setObjectName(QStringLiteral("mnuSep1"));
  mnuExit->setObjectName(QStringLiteral("mnuExit"));
  mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
  mnuAbout->setObjectName(QStringLiteral("mnuAbout"));

  connect(mnuOpen, &QAction::triggered, this, &Form1::mnuOpen_Click);
  connect(mnuExit, &QAction::triggered, this, &Form1::mnuExit_Click);
  connect(mnuAbout, &QAction::triggered, this, &Form1::mnuAbout_Click);

  resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
}

// Only what changed since the last refresh, and only where the window shows
// it, is repainted: during a decode that is a strip of sixteen rows, not the
// whole window. Qt repaints anything uncovered or enlarged on its own.
void Form1::Refresh() {
  const QRect shown = image_.TakeChangedArea() & image_.rect();
  if (!shown.isEmpty()) image_.repaint(shown);
}

void Form1::Cls() { image_.Clear(); }

void Form1::closeEvent(QCloseEvent*) { Form_Unload(); }

void Form1::EnableOpen(bool enabled) { mnuOpen->setEnabled(enabled); }

void Form1::mnuOpen_Click() { OpenCommand(*this, CommonDialog1); }

void Form1::mnuExit_Click() { ExitCommand(); }

void Form1::mnuAbout_Click() { AboutCommand(QtLines()); }

// Closing the window is never cancelled: it is the same as Exit.
void Form1::Form_Unload() { mnuExit_Click(); }

}  // namespace inkpane
