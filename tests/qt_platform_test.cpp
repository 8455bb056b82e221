#include "platform/qt/qt_platform.h"

#include "platform/qt/qt_open_file_dialog.h"

#include <gtest/gtest.h>
#include <time.h>

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <future>
#include <stdexcept>
#include <string>
#include <thread>

namespace inkpane {
namespace {

TEST(QtNameFilter, ShowsTheDescriptionWithPatternsQtCanUse) {
  const struct {
    FileFilter filter;
    std::string qtFilter;
  } cases[] = {
      {{"PBM Images (*.pbm)", "*.pbm"}, "PBM Images (*.pbm)"},
      {{"All Files (*.*)", "*.*"}, "All Files (*)"},
      {{"Bitmaps", "*.pbm;*.pnm"}, "Bitmaps (*.pbm *.pnm)"},
      {{"Stale (*.txt)", "*.pbm"}, "Stale (*.pbm)"},
      {{"", "*.pbm"}, "*.pbm (*.pbm)"},
      {{"Anything", ""}, "Anything (*)"},
  };
  for (const auto& c : cases) EXPECT_EQ(QtNameFilter(c.filter), c.qtFilter) << c.filter.description;
}

// The helper's call returns once the window thread, running its events
// during the wait, shows the busy pointer: a wait that ran no events, or
// showed no such pointer, would run into the deadline.
TEST(QtPlatform, RunsEventsAndShowsTheBusyPointerWhileAStorageCallWaits) {
  QWidget owner;
  const QtPlatform platform(owner, [] {});
  std::promise<void> busyShown;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    const QCursor* pointer = QGuiApplication::overrideCursor();
    if (pointer == nullptr || pointer->shape() != Qt::BusyCursor) return;
    watch.stop();
    busyShown.set_value();
  });
  watch.start(20);
  std::future_status seen = std::future_status::timeout;
  AwaitStorage([&] { seen = busyShown.get_future().wait_for(std::chrono::seconds(30)); });
  EXPECT_EQ(seen, std::future_status::ready);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(StorageCallOutstanding());
  EXPECT_THROW(AwaitStorage([] { throw std::runtime_error("the share is gone"); }), std::runtime_error);
}

std::chrono::nanoseconds ThreadCpuTime() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

// Run from the application's own loop, whose end puts right the quit: once
// told to quit, an event loop's exec returns at once, and a wait built on it
// would spin through the call. A call given up on holds up no later one.
TEST(QtPlatform, WaitsWithoutSpinningAfterAQuitAndLetsGoOfACallGivenUpOn) {
  using namespace std::chrono_literals;
  QWidget owner;
  const QtPlatform platform(owner, [] {});
  std::promise<void> shareAnswers;
  QTimer::singleShot(0, [&] {
    QCoreApplication::exit();
    const auto cpuBefore = ThreadCpuTime();
    AwaitStorage([] { std::this_thread::sleep_for(300ms); });
    EXPECT_LT(ThreadCpuTime() - cpuBefore, 100ms);
    EXPECT_FALSE(AwaitStorageFor([answer = shareAnswers.get_future().share()] { answer.wait(); }, 50ms));
    bool nextRan = false;
    AwaitStorage([&] { nextRan = true; });
    EXPECT_TRUE(nextRan);
  });
  QCoreApplication::exec();
  shareAnswers.set_value();
}

// Qt's dialog selects in its list each row a path names while it is typed,
// the folder on the way to the file among them, and lets go of the folder
// only while the name box has the keyboard focus. A folder left selected must
// not turn the file typed into a trip to that folder.
TEST(OpenFileDialog, OpensTheFileTypedWhateverRowsStaySelected) {
  QTemporaryDir root;
  ASSERT_TRUE(QDir(root.path()).mkdir("scans"));
  const QString folder = root.filePath("scans"), page = root.filePath("scans/page.pbm");
  ASSERT_TRUE(QFile(page).open(QIODevice::WriteOnly));
  QWidget owner;
  const auto dialog = NewOpenFileDialog(owner);
  dialog->setDirectory(root.path());
  auto* list = dialog->findChild<QListView*>("listView");
  auto* files = qobject_cast<QFileSystemModel*>(list->model());
  list->selectionModel()->select(files->index(folder), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  dialog->findChild<QLineEdit*>("fileNameEdit")->setText(page);
  QMetaObject::invokeMethod(dialog.get(), "accept");
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->selectedFiles().join(' ').toStdString(), page.toStdString());
}

}  // namespace
}  // namespace inkpane
