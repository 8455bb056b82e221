#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace inkpane {

// Runs calls which may wait on storage, one at a time, off a window thread
// that must not wait on them itself. A call goes to a kept thread, so that a
// hand-over costs two wake-ups, not a thread's start and end. A call that its
// caller gives up on stays on its thread until it returns, and the next call
// goes to a fresh thread: a share that stopped answering never holds up a
// read from a disk that answers.
class HelperThreads {
 public:
  // Threads left behind in calls given up on, at most: each holds a few
  // pages of stack, so a share that keeps failing costs a bounded amount.
  static constexpr int kMostGivenUp = 8;

  // `wake` runs on a helper thread whenever a call not given up on has
  // returned or thrown, as the last thing done for it: it wakes whoever
  // waits. It may also run once more after that caller has moved on, so a
  // waiter woken must look at Done() itself.
  explicit HelperThreads(std::function<void()> wake);
  // Waits for a call still running that was not given up on: only a program
  // that returns from its main function, not one ended at once, gets here
  // with one.
  ~HelperThreads();
  HelperThreads(const HelperThreads&) = delete;
  HelperThreads& operator=(const HelperThreads&) = delete;

  // Starts `call` on a helper thread and returns at once. A call still in
  // progress is a fault of the caller's: it is refused with
  // std::logic_error, and `call` never runs.
  void Start(std::function<void()> call);
  // Whether the call started last has returned or thrown.
  bool Done() const;
  // Blocks this thread until Done().
  void WaitUntilDone() const;
  // Once Done(): rethrows on this thread what the call threw.
  void Finish();

  // Whether a call started now could be given up on: fewer than
  // kMostGivenUp threads are left behind. Past that, a call that would be
  // given up on is better not started at all.
  bool CanGiveUp() const { return givenUpRunning_->load() < kMostGivenUp; }
  // Leaves the call in progress to its thread, which ends when the call
  // returns; what it throws then is dropped, so the call must own all it
  // touches. Returns false, giving up nothing, when the call has returned
  // in the meantime: Finish it then.
  bool GiveUp();
  // Calls given up on that have not returned yet.
  int GivenUpStillRunning() const { return givenUpRunning_->load(); }

 private:
  struct Worker;

  std::function<void()> wake_;
  std::shared_ptr<std::atomic<int>> givenUpRunning_ = std::make_shared<std::atomic<int>>(0);
  std::shared_ptr<Worker> worker_;
  std::thread thread_;
};

}  // namespace inkpane
