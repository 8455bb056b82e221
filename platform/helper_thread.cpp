#include "platform/helper_thread.h"

namespace inkpane {

HelperThread::~HelperThread() {
  if (!thread_.joinable()) return;
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void HelperThread::Start(const std::function<void()>& call, const std::function<void()>& whenDone) {
  {
    const std::lock_guard lock(mutex_);
    call_ = &call;
    whenDone_ = &whenDone;
    failure_ = nullptr;
  }
  if (thread_.joinable()) {
    wake_.notify_one();
  } else {
    thread_ = std::thread([this] { Serve(); });
  }
}

void HelperThread::Finish() {
  std::exception_ptr failure;
  {
    const std::lock_guard lock(mutex_);
    failure = std::exchange(failure_, nullptr);
  }
  if (failure) std::rethrow_exception(failure);
}

void HelperThread::Serve() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || call_ != nullptr; });
    if (stopping_) return;
    const std::function<void()>& call = *std::exchange(call_, nullptr);
    const std::function<void()>& whenDone = *std::exchange(whenDone_, nullptr);
    lock.unlock();
    std::exception_ptr failure;
    try {
      call();
    } catch (...) {
      failure = std::current_exception();
    }
    lock.lock();
    failure_ = failure;
    lock.unlock();
    whenDone();
    lock.lock();
  }
}

}  // namespace inkpane
