// What Windows itself says of the windows on the screen, for the GUI tests
// that run the program under Wine, where the X server's view can differ:
//   window-probe focus         prints the title of the foreground window, if
//                              the keyboard focus lies in it
//   window-probe texts TITLE   prints the text of each control of the
//                              top-level window titled TITLE, a message
//                              box's text among them, in UTF-8
//   window-probe picture TITLE the simple elements in the client area of the
//                              window titled TITLE as Active Accessibility
//                              gives them, each as its role, name,
//                              description and states, a line each
//   window-probe events TITLE  until ended, prints a line for each event the
//                              window titled TITLE sends for its picture:
//                              focus, state, name or description
//   window-probe colours-changed TITLE
//                              tells the window titled TITLE that the system's
//                              colours changed, as Windows does, and returns
//                              once it has repainted
// Exit status 1 when there is no such window, 2 for a wrong command line.
#include <oleacc.h>
#include <windows.h>

#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/user32/accessible_iid.h"
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

struct Releaser {
  void operator()(IUnknown* object) const { object->Release(); }
};

std::string Utf8(BSTR text) { return text == nullptr ? std::string() : inkpane::Narrow(text); }

void Describe(IAccessible& object, LONG id) {
  VARIANT child{};
  child.vt = VT_I4;
  child.lVal = id;
  VARIANT role{}, state{};
  BSTR name = nullptr, description = nullptr;
  object.get_accRole(child, &role);
  object.get_accName(child, &name);
  object.get_accDescription(child, &description);
  object.get_accState(child, &state);
  const LONG roleNumber = role.vt == VT_I4 ? role.lVal : 0;
  std::printf("role: %s\n", roleNumber == ROLE_SYSTEM_GRAPHIC ? "graphic" : std::to_string(roleNumber).c_str());
  std::printf("name: %s\ndescription: %s\nstates:", Utf8(name).c_str(), Utf8(description).c_str());
  const std::pair<LONG, const char*> stateNames[] = {
      {STATE_SYSTEM_FOCUSABLE, "focusable"}, {STATE_SYSTEM_FOCUSED, "focused"}, {STATE_SYSTEM_BUSY, "busy"}};
  for (const auto& [flag, word] : stateNames) {
    if (state.vt == VT_I4 && (state.lVal & flag) != 0) std::printf(" %s", word);
  }
  std::printf("\n");
  SysFreeString(name);
  SysFreeString(description);
}

int Picture(const wchar_t* title) {
  const HWND window = FindWindowW(nullptr, title);
  if (window == nullptr || FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  void* client = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, inkpane::kIidAccessible, &client))) return 1;
  const std::unique_ptr<IAccessible, Releaser> container(static_cast<IAccessible*>(client));
  LONG count = 0;
  container->get_accChildCount(&count);
  std::vector<VARIANT> children(static_cast<std::size_t>(count));
  LONG obtained = 0;
  if (count > 0 && FAILED(AccessibleChildren(container.get(), 0, count, children.data(), &obtained))) return 1;
  std::printf("children: %ld\n", obtained);
  // The picture is a simple element, asked about through its parent.
  for (VARIANT& child : std::span(children).first(static_cast<std::size_t>(obtained))) {
    if (child.vt == VT_I4) Describe(*container, child.lVal);
    VariantClear(&child);
  }
  return 0;
}

void CALLBACK PrintPictureEvent(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD) {
  if (object != OBJID_CLIENT || child != 1) return;
  const char* const word = event == EVENT_OBJECT_FOCUS               ? "focus"
                           : event == EVENT_OBJECT_STATECHANGE       ? "state"
                           : event == EVENT_OBJECT_NAMECHANGE        ? "name"
                           : event == EVENT_OBJECT_DESCRIPTIONCHANGE ? "description"
                                                                     : nullptr;
  if (word != nullptr) std::printf("%s\n", word);
  std::fflush(stdout);
}

int Events(const wchar_t* title) {
  const HWND window = FindWindowW(nullptr, title);
  DWORD process = 0;
  if (window == nullptr || GetWindowThreadProcessId(window, &process) == 0) return 1;
  if (SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_DESCRIPTIONCHANGE, nullptr, PrintPictureEvent, process, 0,
                      WINEVENT_OUTOFCONTEXT) == nullptr) {
    return 1;
  }
  std::printf("listening\n");
  std::fflush(stdout);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

// Painting is sent to the window's own thread, which paints before
// UpdateWindow returns.
int ColoursChanged(const wchar_t* title) {
  const HWND window = FindWindowW(nullptr, title);
  if (window == nullptr) return 1;
  SendMessageW(window, WM_SYSCOLORCHANGE, 0, 0);
  UpdateWindow(window);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring_view verb = argc > 1 ? argv[1] : L"";
  if (verb == L"focus" && argc == 2) return Focus();
  if (verb == L"texts" && argc == 3) return Texts(argv[2]);
  if (verb == L"picture" && argc == 3) return Picture(argv[2]);
  if (verb == L"events" && argc == 3) return Events(argv[2]);
  if (verb == L"colours-changed" && argc == 3) return ColoursChanged(argv[2]);
  std::fputs("usage: window-probe focus | texts TITLE | picture TITLE | events TITLE | colours-changed TITLE\n",
             stderr);
  return 2;
}
