#include "platform/win32/win32_platform.h"

#include "platform/win32/open_file_dialog.h"
#include "platform/win32/wide_string.h"

namespace inkpane {
namespace {

// Every message that is waiting runs now, as the window's own loop would run
// it; a menu or a modal box opened by one of them runs its own loop until it
// closes.
void RunPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

[[noreturn]] void EndAtOnce() {
  // Nothing is unwound and no destructor runs: the program may be deep inside
  // a decode, and the window must not draw anything more.
  ExitProcess(0);
}

}  // namespace

Win32Platform::Win32Platform(HWND owner)
    : owner_(owner),
      hooks_({
          .messageBox = [this](std::string_view text, MessageBoxStyle style,
                               std::string_view title) { ShowMessage(text, style, title); },
          .beep = [] { MessageBeep(MB_OK); },
          .doEvents = [] { RunPendingMessages(); },
          .endProgram = [] { EndAtOnce(); },
          .openFileDialog = [this](const OpenFileRequest& request) { return AskForFileToOpen(owner_, request); },
      }) {}

void Win32Platform::ShowMessage(std::string_view text, MessageBoxStyle style, std::string_view title) const {
  const UINT icon = style == MessageBoxStyle::Information ? MB_ICONINFORMATION : MB_ICONERROR;
  MessageBoxW(owner_, Widen(text).c_str(), Widen(title).c_str(), MB_OK | icon);
}

}  // namespace inkpane
