// A small X client that lets the GUI test scripts see and do what a desktop
// would: hear the bell, and ask a window to close as a window manager does.
//
//   x11-probe bells             prints one line per ring until killed
//   x11-probe close WINDOW_ID   sends WM_PROTOCOLS / WM_DELETE_WINDOW
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

int Usage() {
  std::fputs("usage: x11-probe bells | x11-probe close WINDOW_ID\n", stderr);
  return 2;
}

int WatchBells(Display* display) {
  int opcode = 0;
  int eventBase = 0;
  int errorBase = 0;
  int major = XkbMajorVersion;
  int minor = XkbMinorVersion;
  if (!XkbQueryExtension(display, &opcode, &eventBase, &errorBase, &major, &minor)) {
    std::fputs("x11-probe: the X server has no XKEYBOARD extension\n", stderr);
    return 1;
  }
  if (!XkbSelectEvents(display, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask)) {
    std::fputs("x11-probe: cannot select bell events\n", stderr);
    return 1;
  }
  // The scripts wait for this note before they ring anything, so that no
  // ring can happen before the server knows we listen for it. It goes to
  // standard error to keep standard output one line per ring.
  XSync(display, False);
  std::fputs("x11-probe: listening\n", stderr);
  for (;;) {
    XkbEvent event;
    XNextEvent(display, &event.core);
    if (event.type != eventBase || event.any.xkb_type != XkbBellNotify) continue;
    std::printf("bell percent=%d window=0x%lx\n", event.bell.percent, event.bell.window);
    std::fflush(stdout);
  }
}

int CloseWindow(Display* display, const char* id) {
  errno = 0;
  char* end = nullptr;
  const unsigned long window = std::strtoul(id, &end, 0);
  if (errno != 0 || end == id || *end != '\0' || window == 0) return Usage();

  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  // A window manager sends the message to the client window itself with an
  // empty event mask, which delivers it to the window's owner only.
  XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) return Usage();
  const std::string_view verb = argv[1];
  if (!((verb == "bells" && argc == 2) || (verb == "close" && argc == 3))) return Usage();

  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fputs("x11-probe: cannot open the display\n", stderr);
    return 1;
  }
  const int status = verb == "bells" ? WatchBells(display) : CloseWindow(display, argv[2]);
  XCloseDisplay(display);
  return status;
}
