#include "platform/platform_hooks.h"

#include <gtest/gtest.h>

#include <stdexcept>
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

// A call made by an event run during another's wait would find the helper
// busy with the first.
TEST(AwaitStorage, RefusesACallMadeWhileAnotherWaits) {
  bool secondRan = false;
  AwaitStorage([&] { EXPECT_THROW(AwaitStorage([&] { secondRan = true; }), std::logic_error); });
  EXPECT_FALSE(secondRan);
  EXPECT_FALSE(StorageCallOutstanding());
}

}  // namespace
}  // namespace inkpane
