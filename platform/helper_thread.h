#pragma once

#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>

namespace inkpane {

// One thread, started at the first call and kept, that runs calls which may
// wait on storage, one at a time, for a window thread that must not wait on
// them itself. A kept thread makes a hand-over two wake-ups, not a thread's
// start and end.
class HelperThread {
 public:
  HelperThread() = default;
  // Waits for a call still running: only a program that returns from its
  // main function, not one ended at once, gets here with one.
  ~HelperThread();
  HelperThread(const HelperThread&) = delete;
  HelperThread& operator=(const HelperThread&) = delete;

  // Starts `call` on the helper thread and returns at once. When the call has
  // returned or thrown, `whenDone` runs on the helper thread, as the last
  // thing it does for this call: it wakes whoever waits. Both must stay valid
  // until then. One call at a time: the next starts after `whenDone` has run.
  void Start(const std::function<void()>& call, const std::function<void()>& whenDone);

  // Once `whenDone` has run: rethrows what the call threw, on this thread.
  void Finish();

 private:
  void Serve();

  std::mutex mutex_;
  std::condition_variable wake_;
  const std::function<void()>* call_ = nullptr;
  const std::function<void()>* whenDone_ = nullptr;
  std::exception_ptr failure_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace inkpane
