#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace inkpane {

// A bell for window systems that have none: the freedesktop sound theme's
// "bell-window-system" sound, or its "bell", played through libcanberra.
// Ringing never waits for the sound: a thread of its own talks to the sound
// server, so a slow, absent or vanished server costs the caller only a lock
// and a notification.
class SoundThemeBell {
 public:
  SoundThemeBell();
  ~SoundThemeBell();
  SoundThemeBell(const SoundThemeBell&) = delete;
  SoundThemeBell& operator=(const SoundThemeBell&) = delete;

  void Ring();

 private:
  void Play(std::stop_token stop);

  std::mutex mutex_;
  std::condition_variable_any wake_;
  int pending_ = 0;
  // Declared last, so it stops before the members it uses go.
  std::jthread player_;
};

}  // namespace inkpane
