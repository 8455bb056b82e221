#include "platform/qt/qt_platform.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace inkpane
