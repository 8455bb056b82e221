#include "platform/helper_threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <stdexcept>
#include <thread>

namespace inkpane {
namespace {

TEST(HelperThreads, GivesUpOnACallWithoutHoldingTheNextAndRefusesASecondOne) {
  std::atomic<int> wakes = 0;
  std::promise<void> shareAnswers;
  {
    HelperThreads helpers([&] { ++wakes; });
    const std::shared_future<void> answer = shareAnswers.get_future().share();
    helpers.Start([answer] { answer.wait(); });
    bool refusedRan = false;
    EXPECT_THROW(helpers.Start([&] { refusedRan = true; }), std::logic_error);
    EXPECT_TRUE(helpers.GiveUp());
    EXPECT_EQ(helpers.GivenUpStillRunning(), 1);

    bool nextRan = false;
    helpers.Start([&] { nextRan = true; });
    helpers.WaitUntilDone();
    EXPECT_NO_THROW(helpers.Finish());
    EXPECT_TRUE(nextRan);
    EXPECT_FALSE(helpers.GiveUp());
    EXPECT_FALSE(refusedRan);

    // The call given up on ends on its own and wakes no one.
    shareAnswers.set_value();
    while (helpers.GivenUpStillRunning() > 0) std::this_thread::yield();
  }
  EXPECT_EQ(wakes, 1);
}

}  // namespace
}  // namespace inkpane
