#include "viewer/qt/form1.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <cmath>
#include <map>
#include <string>

#include "viewer/commands.h"
#include "viewer/window_design.h"

namespace inkpane {
namespace {

// Qt's sizes are in device-independent pixels, 96 to the inch.
constexpr int kLogicalDotsPerInch = 96;

QString FromDesign(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

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

// Tells screen readers that listen for them of a change to the picture.
void Tell(QWidget& picture, QAccessible::Event change) {
  QAccessibleEvent event(&picture, change);
  QAccessible::updateAccessibility(&event);
}

void TellBusyChanged(QWidget& picture) {
  QAccessible::State busy;
  busy.busy = true;
  QAccessibleStateChangeEvent event(&picture, busy);
  QAccessible::updateAccessibility(&event);
}

}  // namespace

Form1::Form1()
    : platform_(*this, [this] { DialogClosed(); }),
      image_(LargestScreenInDevicePixels(), WorkspaceColour(), picture_),
      highContrast_([this](bool on) { image_.SetHighContrast(on); }) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(FromDesign(kCaption));
  setWindowIcon(ApplicationIcon());
  setCentralWidget(&image_);
  image_.SetHighContrast(highContrast_.On());
  CreateMenus();
  resize(TwipsToPixels(kClientWidthTwips, kLogicalDotsPerInch),
         TwipsToPixels(kClientHeightTwips, kLogicalDotsPerInch) + menuBar()->sizeHint().height());
}

void Form1::CreateMenus() {
  std::map<std::string_view, QMenu*> menus;
  for (const MenuEntry& entry : kMenuEntries) {
    if (entry.parent.empty()) {
      QMenu* menu = menuBar()->addMenu(FromDesign(entry.caption));
      menu->setObjectName(FromDesign(entry.name));
      menus[entry.name] = menu;
      continue;
    }
    QMenu& menu = *menus.at(entry.parent);
    QAction* action = IsSeparator(entry) ? menu.addSeparator() : menu.addAction(FromDesign(entry.caption));
    action->setObjectName(FromDesign(entry.name));
    switch (entry.command) {
      case MenuCommand::Open:
        mnuOpen = action;
        connect(action, &QAction::triggered, this, &Form1::mnuOpen_Click);
        break;
      case MenuCommand::Exit:
        connect(action, &QAction::triggered, this, &Form1::mnuExit_Click);
        break;
      case MenuCommand::About:
        connect(action, &QAction::triggered, this, &Form1::mnuAbout_Click);
        break;
      case MenuCommand::None:
        break;
    }
  }
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

void Form1::OpeningPicture(std::string_view fileName) {
  picture_.Opening(fileName);
  Tell(image_, QAccessible::NameChanged);
  Tell(image_, QAccessible::DescriptionChanged);
  TellBusyChanged(image_);
  // Also in a window not yet active again after the dialog, so that Qt, when
  // it is, gives the focus back to the window and not to the picture.
  setFocus(Qt::OtherFocusReason);
}

void Form1::Drawn(const DrawingReport& report) {
  picture_.Drawn(report);
  Tell(image_, QAccessible::DescriptionChanged);
}

void Form1::PictureOpened() {
  picture_.Opened();
  TellBusyChanged(image_);
  SettleFocus();
}

// A screen reader speaks the name and description of what the focus moves
// onto, and says nothing when they change under a focus that stays. So the
// picture gives the focus up while it is busy, and takes it back with its
// new words when the drawing ends. The focus event is sent here, as Qt 6.4
// sends none when the focus comes back from a dialog.
void Form1::SettleFocus() {
  QWidget& holder = picture_.Busy() ? static_cast<QWidget&>(*this) : image_;
  const bool stays = holder.hasFocus();
  holder.setFocus(Qt::OtherFocusReason);
  // Qt tells of a focus that moves in the active window; one that stays, as
  // Qt gives it back after a dialog, is told here. A window in the
  // background tells nothing.
  if (stays && isActiveWindow()) Tell(holder, QAccessible::Focus);
}

// The command that showed the dialog goes on first: an open that begins
// once its dialog has closed then finds the picture busy, and the focus
// goes to the window, not to the picture about to change. A window manager
// that hands the focus back before the dialog is gone leaves Qt 6.4 with no
// active window at all, though the keys come to this one; Qt is told.
void Form1::DialogClosed() {
  activateWindow();
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (QApplication::activeWindow() == nullptr) QApplication::setActiveWindow(this);
        SettleFocus();
      },
      Qt::QueuedConnection);
}

void Form1::mnuOpen_Click() { OpenCommand(*this, CommonDialog1); }

void Form1::mnuExit_Click() { ExitCommand(); }

void Form1::mnuAbout_Click() { AboutCommand(QtLines()); }

// Closing the window is never cancelled: it is the same as Exit.
void Form1::Form_Unload() { mnuExit_Click(); }

}  // namespace inkpane
