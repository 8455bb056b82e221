# Helpers shared by the GUI test scripts, which drive the built viewer in a
# real window through the keyboard and the mouse, as a user would.
#
# A script sources this file and calls `gui_init VIEWER PROBE` with the paths
# of the viewer and of x11-probe. Each script runs under its own Xvfb server
# (started by xvfb-run), or, with INKPANE_GUI_PLATFORM=wayland in the
# environment, in its own Wayland compositor, so every window found is ours.
#
# The helpers live in files by concern:
# - viewer.sh: the session, waiting, and the viewer's start and end;
# - x11.sh or wayland.sh: windows, keys, the mouse, screenshots and the bell
#   on X or on Wayland, under the same names;
# - windows.sh: what the tests do with windows on either;
# - images.sh: making test pictures and comparing what the screen shows.
#
# Nothing here sleeps for a fixed time to let the program catch up: every wait
# polls for what it waits for, with a deadline, so a slow or busy machine only
# makes the tests slower.
#
# A failure inside a command substitution would only end that subshell, so the
# helpers that can fail never print their results: they write files with names
# the caller chooses ($work/NAME.ppm) or set the variables named in each file.

set -uo pipefail

readonly CLIENT_WIDTH=449 CLIENT_HEIGHT=343
readonly MAIN_TITLE='^Inkpane 1\.1$' DIALOG_TITLE='^Select a PBM Image$'
readonly ERROR_TITLE='^Error$' ABOUT_TITLE='^About\.\.\.$'
readonly WHITE='srgb(255,255,255)' BLACK='srgb(0,0,0)'

gui_lib=$(dirname "${BASH_SOURCE[0]}")
source "$gui_lib/viewer.sh"
source "$gui_lib/${INKPANE_GUI_PLATFORM:-x11}.sh"
source "$gui_lib/windows.sh"
source "$gui_lib/images.sh"
