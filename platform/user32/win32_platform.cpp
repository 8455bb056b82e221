#include "platform/user32/win32_platform.h"

#include <algorithm>
#include <stdexcept>

#include "platform/user32/open_file_dialog.h"
#include "platform/win32/wide_string.h"

namespace inkpane {
namespace {

// How long a wait on storage goes before the pointer says the program is busy.
constexpr DWORD kBusyPointerAfterMs = 500;
// How long Exit gives a cancelled storage call to come back before it takes
// the window away itself: a quick read ends well within it.
constexpr DWORD kCancelGraceMs = 100;

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

OwnedHandle NewEvent() {
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (event == nullptr) throw std::runtime_error("The program could not make an event to wait on.");
  return OwnedHandle(event);
}

}  // namespace

Win32Platform::Win32Platform(HWND owner)
    : owner_(owner),
      storageCallDone_(NewEvent()),
      storageHelpers_([event = storageCallDone_.get()] { SetEvent(event); }),
      hooks_({
          .messageBox = [this](std::string_view text, MessageBoxStyle style,
                               std::string_view title) { ShowMessage(text, style, title); },
          .beep = [] { MessageBeep(MB_OK); },
          .doEvents = [] { RunPendingMessages(); },
          .awaitStorage =
              [this](const std::function<void()>& call, std::optional<std::chrono::milliseconds> patience) {
                return AwaitOnHelper(call, patience);
              },
          .endProgram = [this] { EndAtOnce(); },
          .openFileDialog = [this](const OpenFileRequest& request) { return AskForFileToOpen(owner_, request); },
      }) {}

void Win32Platform::ShowMessage(std::string_view text, MessageBoxStyle style, std::string_view title) const {
  const UINT icon = style == MessageBoxStyle::Information ? MB_ICONINFORMATION : MB_ICONERROR;
  MessageBoxW(owner_, Widen(text).c_str(), Widen(title).c_str(), MB_OK | icon);
}

// The window thread sleeps until either the helper's call is done or a
// message arrives, and runs the messages, so the window repaints, About opens
// and Exit acts, and no processor time goes on waiting. The busy pointer and
// the end of a patience are counted from the start of the wait, whatever
// messages arrive meanwhile.
bool Win32Platform::AwaitOnHelper(const std::function<void()>& call,
                                  std::optional<std::chrono::milliseconds> patience) {
  if (patience && !storageHelpers_.CanGiveUp()) return false;
  const std::function<void()> onHelper = [this, call] {
    // Kept for the thread's life, which ends with the program or, for a
    // thread left behind, when its call returns.
    thread_local const HANDLE self = OpenThread(THREAD_TERMINATE, FALSE, GetCurrentThreadId());
    helperThread_ = self;
    call();
  };
  const ULONGLONG start = GetTickCount64();
  const ULONGLONG busyAt = start + kBusyPointerAfterMs;
  const ULONGLONG giveUpAt = patience ? start + static_cast<ULONGLONG>(patience->count()) : ~ULONGLONG{0};
  bool showsBusy = false;
  storageHelpers_.Start(onHelper);
  const HANDLE done = storageCallDone_.get();
  try {
    while (!storageHelpers_.Done()) {
      const ULONGLONG now = GetTickCount64();
      if (now >= giveUpAt) break;
      if (!showsBusy && now >= busyAt) {
        ShowBusyPointer(true);
        showsBusy = true;
      }
      const ULONGLONG until = showsBusy ? giveUpAt : std::min(busyAt, giveUpAt);
      const DWORD timeout = until == ~ULONGLONG{0} ? INFINITE : static_cast<DWORD>(until - now);
      const DWORD woken = MsgWaitForMultipleObjectsEx(1, &done, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
      if (woken == WAIT_OBJECT_0 + 1) {
        RunPendingMessages();
      } else if (woken == WAIT_FAILED) {
        // Nothing here should make a wait fail; should one, a plain wait
        // for the helper is better than a spin.
        storageHelpers_.WaitUntilDone();
      }
      // The event may have been set for a call that ended after its caller
      // had seen it done; Done() alone says whether this one has.
    }
  } catch (...) {
    // A call that may be given up on owns what it touches; any other may be
    // writing into the frame this unwinds.
    if (!patience || !storageHelpers_.GiveUp()) storageHelpers_.WaitUntilDone();
    if (showsBusy) ShowBusyPointer(false);
    throw;
  }
  if (showsBusy) ShowBusyPointer(false);
  if (!storageHelpers_.Done() && storageHelpers_.GiveUp()) return false;
  storageHelpers_.Finish();
  return true;
}

// The window class's pointer is the one the system shows over the client
// area; a pointer already there is changed at once.
void Win32Platform::ShowBusyPointer(bool busy) const {
  const HCURSOR pointer = busy ? LoadCursorW(nullptr, IDC_APPSTARTING) : LoadCursorW(nullptr, IDC_ARROW);
  SetClassLongPtrW(owner_, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(pointer));
  POINT at{};
  if (GetCursorPos(&at) && WindowFromPoint(at) == owner_) {
    const LRESULT hit = SendMessageW(owner_, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    SendMessageW(owner_, WM_SETCURSOR, reinterpret_cast<WPARAM>(owner_), MAKELPARAM(hit, WM_MOUSEMOVE));
  }
}

// Nothing is unwound and no destructor runs: the program may be deep inside
// a decode, and the window must not draw anything more. A call the helper is
// inside is cancelled; one that does not come back (a read the kernel under
// Wine will not interrupt) holds the process until it returns, so then the
// window is taken away first. TerminateProcess, unlike ExitProcess, runs no library's detach
// code, such as that of the shell extensions the open dialog brings in,
// which can take long or deadlock.
void Win32Platform::EndAtOnce() const {
  if (StorageCallOutstanding()) {
    if (const HANDLE helper = helperThread_.load()) CancelSynchronousIo(helper);
    if (WaitForSingleObject(storageCallDone_.get(), kCancelGraceMs) != WAIT_OBJECT_0) DestroyWindow(owner_);
  } else if (storageHelpers_.GivenUpStillRunning() > 0) {
    // A folder look given up on may hold the process as a read would.
    DestroyWindow(owner_);
  }
  TerminateProcess(GetCurrentProcess(), 0);
}

}  // namespace inkpane
