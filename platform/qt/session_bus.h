#pragma once

namespace inkpane {

// Qt asks libdbus for the session bus as it starts: its accessibility bridge
// does, and so may its platform theme. Where the environment names no session
// bus and there is none where libdbus looks next ($XDG_RUNTIME_DIR/bus), as
// over ssh -X or in a bare X session, libdbus would start one through
// dbus-launch, which writes under ~/.dbus and outlives the program. This makes
// libdbus refuse at once instead. Qt reads the accessibility bus that the
// desktop names on the X root window only once it has a session bus, so that
// is read here and handed to Qt, which then joins the desktop's accessibility
// bus as it would with one. Where a session bus exists, nothing changes. Call
// before the application object is made.
void PreventSessionBusLaunch();

}  // namespace inkpane
