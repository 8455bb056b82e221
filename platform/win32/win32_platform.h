#pragma once

#include <windows.h>

#include <string_view>

#include "platform/platform_hooks.h"

namespace inkpane {

// The screen-facing parts of the platform on Win32, installed for this
// object's lifetime: message boxes and the open-file dialog, owned by
// `owner`; the beep, which is the user's "Default Beep" sound; event
// processing; and ending the program.
class Win32Platform {
 public:
  explicit Win32Platform(HWND owner);
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

 private:
  void ShowMessage(std::string_view text, MessageBoxStyle style, std::string_view title) const;

  HWND owner_;
  ScopedPlatformHooks hooks_;
};

}  // namespace inkpane
