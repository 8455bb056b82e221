#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <string_view>

#include "platform/helper_threads.h"
#include "platform/platform_hooks.h"
#include "platform/win32/owned_handle.h"

namespace inkpane {

// The screen-facing parts of the platform on Win32, installed for this
// object's lifetime: message boxes and the open-file dialog, owned by
// `owner`; the beep, which is the user's "Default Beep" sound; event
// processing, also while a call waits on storage; and ending the program.
class Win32Platform {
 public:
  explicit Win32Platform(HWND owner);
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

 private:
  void ShowMessage(std::string_view text, MessageBoxStyle style, std::string_view title) const;
  bool AwaitOnHelper(const std::function<void()>& call, std::optional<std::chrono::milliseconds> patience);
  void ShowBusyPointer(bool busy) const;
  void EndAtOnce() const;

  HWND owner_;
  // Set by a helper thread when its call is done, waking the window thread.
  OwnedHandle storageCallDone_;
  // The thread of the call in progress, as a handle that can cancel the call
  // it is inside; each helper thread takes its own at its first call.
  std::atomic<HANDLE> helperThread_ = nullptr;
  // After what it uses, so that it has ended before they go.
  HelperThreads storageHelpers_;
  ScopedPlatformHooks hooks_;
};

}  // namespace inkpane
