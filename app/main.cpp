#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/session_bus.h"
#include "viewer/qt/form1.h"

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// Without a display Qt aborts with a core dump and advice to reinstall. A
// platform chosen by name (offscreen, vnc) needs none, and Qt is left to it.
bool HasGraphicalSession() { return Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("QT_QPA_PLATFORM"); }

}  // namespace

int main(int argc, char* argv[]) {
  if (!HasGraphicalSession()) {
    std::fputs("Inkpane needs a graphical session (X11 or Wayland): start it from your desktop.\n", stderr);
    return EXIT_FAILURE;
  }
  inkpane::PreventSessionBusLaunch();
  // The program takes no arguments; Qt is not shown them either.
  int programNameOnly = argc > 0 ? 1 : 0;
  QApplication application(programNameOnly, argv);
  QApplication::setApplicationName(QStringLiteral("Inkpane"));
  QApplication::setApplicationVersion(QStringLiteral(INKPANE_FILE_VERSION));

  inkpane::Form1 form;
  form.show();
  return QApplication::exec();
}
