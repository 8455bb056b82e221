// What Windows itself says of the windows on the screen, for the GUI tests
// that run the program under Wine, where the X server's view can differ:
//   window-probe focus         prints the title of the foreground window, if
//                              the keyboard focus lies in it
//   window-probe texts TITLE   prints the text of each control of the
//                              top-level window titled TITLE, a message
//                              box's text among them, in UTF-8
// Exit status 1 when there is no such window, 2 for a wrong command line.
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/win32/wide_string.h"

namespace {

void PrintText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
  std::printf("%s\n", inkpane::Narrow(text).c_str());
}

int Focus() {
  const HWND foreground = GetForegroundWindow();
  if (foreground == nullptr) return 1;
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &thread)) return 1;
  if (thread.hwndFocus != foreground && !IsChild(foreground, thread.hwndFocus)) return 1;
  PrintText(foreground);
  return 0;
}

// WM_GETTEXT rather than GetWindowText, which does not ask a control of
// another process for its text.
BOOL CALLBACK PrintControlText(HWND control, LPARAM) {
  const auto length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      SendMessageW(control, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()))));
  if (!text.empty()) std::printf("%s\n", inkpane::Narrow(text).c_str());
  return TRUE;
}

int Texts(const wchar_t* title) {
  const HWND window = FindWindowW(nullptr, title);
  if (window == nullptr) return 1;
  EnumChildWindows(window, PrintControlText, 0);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring_view verb = argc > 1 ? argv[1] : L"";
  if (verb == L"focus" && argc == 2) return Focus();
  if (verb == L"texts" && argc == 3) return Texts(argv[2]);
  std::fputs("usage: window-probe focus | texts TITLE\n", stderr);
  return 2;
}
