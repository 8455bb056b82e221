#include "platform/platform_hooks.h"

#include <gtest/gtest.h>

#include <string>

namespace inkpane {
namespace {

TEST(ScopedPlatformHooks, NestsAndRestores) {
  std::string calls;
  {
    ScopedPlatformHooks outer({.beep = [&] { calls += "outer beep;"; }, .doEvents = [&] { calls += "events;"; }});
    {
      ScopedPlatformHooks inner({.beep = [&] { calls += "inner beep;"; }});
      Beep();
      DoEvents();
    }
    Beep();
  }
  Beep();
  EXPECT_EQ(calls, "inner beep;events;outer beep;");
}

}  // namespace
}  // namespace inkpane
