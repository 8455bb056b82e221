#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // The window is tested without a display. A death test runs in a fresh
  // copy of this program, so it never shares Qt's threads with its parent.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // The window follows the desktop's high-contrast setting; the tests read
  // none of the settings of whoever runs them.
  qputenv("GSETTINGS_BACKEND", "memory");
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
