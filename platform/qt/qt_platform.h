#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/helper_threads.h"
#include "platform/platform_hooks.h"

class QFileDialog;
class QWidget;

namespace inkpane {

class SoundThemeBell;

// The screen-facing parts of the platform on Qt, installed for this object's
// lifetime: message boxes and the open-file dialog, modal to `owner`; the
// beep, which is the window system's bell where it has one and the desktop's
// sound theme where it has none (Wayland); event processing, also while a
// call waits on storage; and ending the program. `dialogClosed` is called
// each time a dialog or box it showed has closed, for the owner to take the
// keyboard focus back.
class QtPlatform {
 public:
  QtPlatform(QWidget& owner, std::function<void()> dialogClosed);
  ~QtPlatform();
  QtPlatform(const QtPlatform&) = delete;
  QtPlatform& operator=(const QtPlatform&) = delete;

 private:
  std::optional<std::string> AskForFileToOpen(const OpenFileRequest& request);
  void ShowMessage(std::string_view text, MessageBoxStyle style, std::string_view title);
  void Ring();
  bool AwaitOnHelper(const std::function<void()>& call, std::optional<std::chrono::milliseconds> patience);

  QWidget& owner_;
  std::function<void()> dialogClosed_;
  // Made at the first use and never destroyed while the program runs: a Qt
  // file dialog writes its history to a settings file when it is destroyed,
  // and waits for its file-information thread, which may be waiting on a
  // share that went away. The program ends without destroying anything.
  std::unique_ptr<QFileDialog> openDialog_;
  // Made where the window system has no bell of its own.
  std::unique_ptr<SoundThemeBell> soundThemeBell_;
  // After what it uses, so that it has ended before they go.
  HelperThreads storageHelpers_;
  ScopedPlatformHooks hooks_;
};

// The name filter a Qt file dialog shows for `filter`. Qt takes the patterns
// from the parentheses at the end of a filter, so those are rebuilt from the
// entry's own patterns; "*.*" becomes "*", since on Linux names need no dot.
std::string QtNameFilter(const FileFilter& filter);

}  // namespace inkpane
