#include "platform/helper_threads.h"

#include <stdexcept>
#include <utility>

namespace inkpane {

// What a helper thread shares with its owner. A thread left behind keeps it
// alive alone, so that its call's end touches nothing of the owner's.
struct HelperThreads::Worker {
  std::function<void()> wake;
  std::shared_ptr<std::atomic<int>> givenUpRunning;

  mutable std::mutex mutex;
  mutable std::condition_variable changed;
  std::function<void()> call;
  bool inProgress = false;
  bool givenUp = false;
  bool stopping = false;
  std::exception_ptr failure;

  static void Serve(const std::shared_ptr<Worker>& worker) {
    Worker& self = *worker;
    std::unique_lock lock(self.mutex);
    for (;;) {
      self.changed.wait(lock, [&] { return self.stopping || self.call; });
      if (self.stopping) return;
      std::function<void()> call = std::exchange(self.call, nullptr);
      lock.unlock();
      std::exception_ptr failure;
      try {
        call();
      } catch (...) {
        failure = std::current_exception();
      }
      call = nullptr;
      lock.lock();
      self.inProgress = false;
      if (self.givenUp) {
        --*self.givenUpRunning;
        return;
      }
      self.failure = failure;
      self.changed.notify_all();
      lock.unlock();
      self.wake();
      lock.lock();
    }
  }
};

HelperThreads::HelperThreads(std::function<void()> wake) : wake_(std::move(wake)) {}

HelperThreads::~HelperThreads() {
  if (!thread_.joinable()) return;
  {
    const std::lock_guard lock(worker_->mutex);
    worker_->stopping = true;
  }
  worker_->changed.notify_all();
  thread_.join();
}

void HelperThreads::Start(std::function<void()> call) {
  if (!worker_) {
    worker_ = std::make_shared<Worker>();
    worker_->wake = wake_;
    worker_->givenUpRunning = givenUpRunning_;
    thread_ = std::thread(&Worker::Serve, worker_);
  }
  {
    const std::lock_guard lock(worker_->mutex);
    if (worker_->inProgress) throw std::logic_error("A call on storage was started while another one was waiting.");
    worker_->call = std::move(call);
    worker_->inProgress = true;
    worker_->failure = nullptr;
  }
  worker_->changed.notify_all();
}

bool HelperThreads::Done() const {
  const std::lock_guard lock(worker_->mutex);
  return !worker_->inProgress;
}

void HelperThreads::WaitUntilDone() const {
  std::unique_lock lock(worker_->mutex);
  worker_->changed.wait(lock, [this] { return !worker_->inProgress; });
}

void HelperThreads::Finish() {
  std::exception_ptr failure;
  {
    const std::lock_guard lock(worker_->mutex);
    failure = std::exchange(worker_->failure, nullptr);
  }
  if (failure) std::rethrow_exception(failure);
}

bool HelperThreads::GiveUp() {
  {
    const std::lock_guard lock(worker_->mutex);
    if (!worker_->inProgress) return false;
    worker_->givenUp = true;
    ++*givenUpRunning_;
  }
  thread_.detach();
  worker_.reset();
  return true;
}

}  // namespace inkpane
