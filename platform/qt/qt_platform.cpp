#include "platform/qt/qt_platform.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QCursor>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QScopeGuard>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/common_dialog.h"
#include "platform/posix/close_sockets.h"
#include "platform/qt/qt_open_file_dialog.h"
#include "platform/qt/sound_theme_bell.h"

namespace inkpane {
namespace {

QString FromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Message texts break their lines with CR LF, the classic message-box
// convention; a Qt label breaks on LF alone and shows a stray CR.
QString MessageText(std::string_view text) {
  QString message = FromUtf8(text);
  message.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return message;
}

// How long a wait on storage goes before the pointer says the program is busy.
constexpr std::chrono::milliseconds kBusyPointerAfter{500};

[[noreturn]] void EndAtOnce() {
  // Nothing is unwound and no destructor runs: the program may be deep inside
  // a decode, and the window's objects must not save or draw anything more.
  // The window goes with the display connection, even while a helper thread
  // keeps the process in a read that storage has stopped answering.
  std::fflush(nullptr);
  CloseEverySocket();
  std::_Exit(EXIT_SUCCESS);
}

}  // namespace

std::string QtNameFilter(const FileFilter& filter) {
  std::string description = filter.description;
  if (description.ends_with(')')) {
    const std::size_t open = description.rfind('(');
    if (open != std::string::npos) description.erase(open);
  }
  while (description.ends_with(' ')) description.pop_back();

  std::string patterns;
  for (const std::string_view pattern : SplitFields(filter.patterns, ';')) {
    if (pattern.empty()) continue;
    if (!patterns.empty()) patterns += ' ';
    patterns += pattern == "*.*" ? "*" : pattern;
  }
  if (patterns.empty()) patterns = "*";
  return (description.empty() ? patterns : description) + " (" + patterns + ")";
}

QtPlatform::QtPlatform(QWidget& owner, std::function<void()> dialogClosed)
    : owner_(owner),
      dialogClosed_(std::move(dialogClosed)),
      // Any event ends the window thread's wait for more events; this one,
      // queued on the window, which lives as long as the program, does
      // nothing else.
      storageHelpers_([this] {
        QMetaObject::invokeMethod(
            &owner_, [] {}, Qt::QueuedConnection);
      }),
      hooks_({
          .messageBox = [this](std::string_view text, MessageBoxStyle style,
                               std::string_view title) { ShowMessage(text, style, title); },
          .beep = [this] { Ring(); },
          .doEvents = [] { QCoreApplication::processEvents(); },
          .awaitStorage =
              [this](const std::function<void()>& call, std::optional<std::chrono::milliseconds> patience) {
                return AwaitOnHelper(call, patience);
              },
          .endProgram = [] { EndAtOnce(); },
          .openFileDialog = [this](const OpenFileRequest& request) { return AskForFileToOpen(request); },
      }) {
  // Qt's Wayland platform has no bell: its beep does nothing.
  if (QGuiApplication::platformName().startsWith(QStringLiteral("wayland"))) {
    soundThemeBell_ = std::make_unique<SoundThemeBell>();
  }
}

QtPlatform::~QtPlatform() = default;

// The window thread sleeps in the event dispatcher while the helper runs the
// call, woken by the window's events and by the helper's end alike, so the
// window repaints, About opens and Exit acts, and no processor time goes on
// waiting. Waiting for more events, unlike an event loop's exec, never
// returns at once, not even once the application has been told to quit.
bool QtPlatform::AwaitOnHelper(const std::function<void()>& call, std::optional<std::chrono::milliseconds> patience) {
  if (patience && !storageHelpers_.CanGiveUp()) return false;
  bool showsBusy = false;
  QTimer busyPointer;
  busyPointer.setSingleShot(true);
  QObject::connect(&busyPointer, &QTimer::timeout, [&showsBusy] {
    QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    showsBusy = true;
  });
  bool patienceOver = false;
  QTimer giveUp;
  giveUp.setSingleShot(true);
  QObject::connect(&giveUp, &QTimer::timeout, [&patienceOver] { patienceOver = true; });
  const auto restorePointer = qScopeGuard([&showsBusy] {
    if (showsBusy) QGuiApplication::restoreOverrideCursor();
  });

  storageHelpers_.Start(call);
  busyPointer.start(kBusyPointerAfter);
  if (patience) giveUp.start(*patience);
  try {
    while (!storageHelpers_.Done() && !patienceOver) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
  } catch (...) {
    // A call that may be given up on owns what it touches; any other may be
    // writing into the frame this unwinds.
    if (!patience || !storageHelpers_.GiveUp()) storageHelpers_.WaitUntilDone();
    throw;
  }
  if (!storageHelpers_.Done() && storageHelpers_.GiveUp()) return false;
  storageHelpers_.Finish();
  return true;
}

void QtPlatform::Ring() {
  if (soundThemeBell_) {
    soundThemeBell_->Ring();
  } else {
    QApplication::beep();
  }
}

void QtPlatform::ShowMessage(std::string_view text, MessageBoxStyle style, std::string_view title) {
  const QMessageBox::Icon icon =
      style == MessageBoxStyle::Information ? QMessageBox::Information : QMessageBox::Critical;
  QMessageBox box(icon, FromUtf8(title), MessageText(text), QMessageBox::Ok, &owner_);
  // A file name in a message is shown as it is, never read as markup.
  box.setTextFormat(Qt::PlainText);
  box.exec();
  dialogClosed_();
}

std::optional<std::string> QtPlatform::AskForFileToOpen(const OpenFileRequest& request) {
  if (!openDialog_) openDialog_ = NewOpenFileDialog(owner_);
  QFileDialog& dialog = *openDialog_;
  dialog.setWindowTitle(FromUtf8(request.title));
  QStringList nameFilters;
  for (const FileFilter& filter : request.filters) nameFilters << FromUtf8(QtNameFilter(filter));
  dialog.setNameFilters(nameFilters);
  // The folder has answered; the name is looked for in it.
  WatchFolders(dialog);
  dialog.setDirectory(QFile::decodeName(std::string(request.folder).c_str()));
  dialog.selectFile(QFile::decodeName(std::string(request.fileName).c_str()));

  const int answer = dialog.exec();
  dialogClosed_();
  // The name box's completion list can outlive a dialog accepted while it
  // showed, and would stay on screen over the picture.
  for (const QCompleter* completer : dialog.findChildren<QCompleter*>()) {
    if (completer->popup() != nullptr) completer->popup()->hide();
  }
  const QStringList chosen = answer == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
  LetGoOfFolders(dialog);
  if (chosen.isEmpty()) return std::nullopt;
  return QFile::encodeName(chosen.front()).toStdString();
}

}  // namespace inkpane
