#include "viewer/win32/system_lines.h"

#include <gtest/gtest.h>

#include <string>

namespace inkpane {
namespace {

TEST(WindowsName, NamesTheSystemAsItsUsersKnowIt) {
  const struct {
    unsigned long major, minor, build;
    std::string name;
  } cases[] = {
      {10, 0, 26100, "Windows 11 (build 26100)"}, {10, 0, 22000, "Windows 11 (build 22000)"},
      {10, 0, 19045, "Windows 10 (build 19045)"}, {10, 0, 18362, "Windows 10 (build 18362)"},
      {6, 3, 9600, "Windows 8.1 (build 9600)"},   {6, 2, 9200, "Windows 8 (build 9200)"},
      {6, 1, 7601, "Windows 7 (build 7601)"},     {5, 1, 2600, "Windows 5.1 (build 2600)"},
  };
  for (const auto& c : cases) EXPECT_EQ(WindowsName(c.major, c.minor, c.build), c.name) << c.build;
}

}  // namespace
}  // namespace inkpane
