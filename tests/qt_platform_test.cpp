#include "platform/qt/qt_platform.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <QWidget>
#include <future>
#include <stdexcept>
#include <string>

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

// The helper's call returns only once the window thread has run a timer's
// event, so a wait that ran no events would never end.
TEST(QtPlatform, RunsEventsWhileAStorageCallWaits) {
  QWidget owner;
  const QtPlatform platform(owner);
  std::promise<void> timerRan;
  QTimer::singleShot(0, [&] { timerRan.set_value(); });
  AwaitStorage([&] { timerRan.get_future().wait(); });
  EXPECT_FALSE(StorageCallOutstanding());
  EXPECT_THROW(AwaitStorage([] { throw std::runtime_error("the share is gone"); }), std::runtime_error);
}

}  // namespace
}  // namespace inkpane
