#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace inkpane {

// Message-box styles, numbered as the classic style flags: icon and OK button only.
enum class MessageBoxStyle : int {
  Critical = 16,
  Information = 64,
};

// One entry of an open-file dialog's list of file types: the words shown, and
// the patterns it selects, separated by semicolons ("*.pbm", "*.*").
struct FileFilter {
  std::string description;
  std::string patterns;

  bool operator==(const FileFilter&) const = default;
};

// What an open-file dialog is asked to show.
struct OpenFileRequest {
  std::string_view title;
  std::span<const FileFilter> filters;
  // The folder the dialog starts in, whose storage has been seen to answer.
  std::string_view folder;
  // The name the dialog starts with, without its folder; empty the first time.
  std::string_view fileName;
};

// The parts of the platform that need a screen. The window installs its own;
// tests and tools install recorders, so everything runs without a display.
struct PlatformHooks {
  std::function<void(std::string_view text, MessageBoxStyle style, std::string_view title)> messageBox = {};
  std::function<void()> beep = {};
  std::function<void()> doEvents = {};
  // Runs `call` off the window thread, processing the window's events until
  // it returns, and rethrows here what it threw. Given a patience, stops
  // waiting once that has passed and returns false, leaving the call to
  // finish on its own; returns true when the call returned.
  std::function<bool(const std::function<void()>& call, std::optional<std::chrono::milliseconds> patience)>
      awaitStorage = {};
  std::function<void()> endProgram = {};
  // Returns the chosen file, or nothing when the user cancels.
  std::function<std::optional<std::string>(const OpenFileRequest& request)> openFileDialog = {};
};

// Shows a modal message box with an OK button and returns when it is closed.
void MsgBox(std::string_view text, MessageBoxStyle style, std::string_view title);
void Beep();
// Lets pending window events run, then returns.
void DoEvents();
// Runs `call`, a system call that may wait on storage (a network share that
// stops answering, a cloud file still downloading, a failing stick), where its
// wait cannot freeze the window: the window system runs it on a helper thread
// and goes on processing the window's events until it returns. Without a
// window system it runs here. What `call` throws is rethrown here. One call
// at a time: a call made while another waits, from an event run during the
// wait, is refused with std::logic_error and never runs.
void AwaitStorage(const std::function<void()>& call);
// The same for a call whose answer is wanted only within `patience`: returns
// false when it has not answered by then, and the window goes on without
// it. The call is then left to finish on a thread of its own, and the next
// call does not wait for it; so it must own everything it touches (capture
// by value), and what it throws then is lost. Where too many calls are left
// unanswered already, it is not started, and counts as unanswered.
bool AwaitStorageFor(const std::function<void()>& call, std::chrono::milliseconds patience);
// True while a call handed to AwaitStorage has not returned.
bool StorageCallOutstanding();
// Ends the program at once; never returns.
[[noreturn]] void EndProgram();
// Shows a modal open-file dialog; returns the chosen file, or nothing when the
// user cancels.
std::optional<std::string> ShowOpenFileDialog(const OpenFileRequest& request);

// Installs hooks for its lifetime and restores the previous ones afterwards.
// A hook left empty keeps the one installed before. Until anything is
// installed, messages go to standard error, the beep and event processing do
// nothing, storage calls run where they are asked for, ending the program
// exits with status 0, and the open-file dialog is cancelled at once, since
// there is no one to answer it.
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
