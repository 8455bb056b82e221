#include "viewer/form1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <cmath>
#include <exception>
#include <string>

#include "decoder/render_pbm_file.h"
#include "platform/file_slots.h"
#include "platform/platform_hooks.h"

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

std::string AboutText() {
  const std::string qtVersion = qVersion();
  const std::string platform = QGuiApplication::platformName().toStdString();
  return "Inkpane 1.0, version " INKPANE_FILE_VERSION
         "\r\n"
         "A complete decoder for plain (P1) and raw (P4) PBM images.\r\n"
         "\r\n"
         "One image pixel on one screen pixel, from the top-left corner.\r\n"
         "Keys: Alt+F, O to open; Alt+F, E to exit; Alt+H, A for this box.\r\n"
         "\r\n"
         "Built with Qt " QT_VERSION_STR ", running on Qt " +
         qtVersion + " (" + platform +
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

void Form1::mnuOpen_Click() {
  try {
    CommonDialog1.SetDialogTitle("Select a PBM Image");
    CommonDialog1.SetFilter("PBM Images (*.pbm)|*.pbm|All Files (*.*)|*.*");
    CommonDialog1.ShowOpen();
    // Anything drawn but not shown yet is shown before the picture is
    // cleared; after a finished open there is nothing, and this paints nothing.
    Refresh();
    mnuOpen->setEnabled(false);
    Cls();
    RenderPbmFile(CommonDialog1.FileName(), *this);
    Refresh();
    mnuOpen->setEnabled(true);
    Beep();
  } catch (const std::exception&) {
    // A cancelled dialog, or any other failure of the command's own steps,
    // ends the command quietly; the decoder reports its own failures.
  }
}

void Form1::mnuExit_Click() {
  CloseAllFiles();
  EndProgram();
}

void Form1::mnuAbout_Click() { MsgBox(AboutText(), MessageBoxStyle::Information, "About..."); }

// Closing the window is never cancelled: it is the same as Exit.
void Form1::Form_Unload() { mnuExit_Click(); }

}  // namespace inkpane
