#pragma once

#include <functional>
#include <string_view>

namespace inkpane {

// Message-box styles, numbered as the classic style flags: icon and OK button only.
enum class MessageBoxStyle : int {
  Critical = 16,
  Information = 64,
};

// The parts of the platform that need a screen. The window installs its own;
// tests and tools install recorders, so everything runs without a display.
struct PlatformHooks {
  std::function<void(std::string_view text, MessageBoxStyle style, std::string_view title)> messageBox = {};
  std::function<void()> beep = {};
  std::function<void()> doEvents = {};
  std::function<void()> endProgram = {};
};

// Shows a modal message box with an OK button and returns when it is closed.
void MsgBox(std::string_view text, MessageBoxStyle style, std::string_view title);
void Beep();
// Lets pending window events run, then returns.
void DoEvents();
// Ends the program at once; never returns.
[[noreturn]] void EndProgram();

// Installs hooks for its lifetime and restores the previous ones afterwards.
// A hook left empty keeps the one installed before. Until anything is
// installed, messages go to standard error, the beep and event processing do
// nothing, and ending the program exits with status 0.
class ScopedPlatformHooks {
 public:
  explicit ScopedPlatformHooks(PlatformHooks hooks);
  ~ScopedPlatformHooks();
  ScopedPlatformHooks(const ScopedPlatformHooks&) = delete;
  ScopedPlatformHooks& operator=(const ScopedPlatformHooks&) = delete;

 private:
  PlatformHooks previous_;
};

}  // namespace inkpane
