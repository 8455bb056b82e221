# The X window system as the GUI tests see it: windows found by title, the
# keyboard focus, popup menus, keys and clicks through xdotool, screenshots,
# and the bell heard through x11-probe. Sourced by lib.sh; wayland.sh offers
# the same verbs in a Wayland session.
#
# There is no window manager under Xvfb: nothing gives a window the keyboard
# focus when it is mapped or clicked, so the scripts do that themselves where
# a desktop would. The viewer's modal dialogs take the focus on their own.

probe= probe_pid=
# Set by the helpers: the window found by the last wait, and the windows
# visible when remember_windows ran.
found= known_windows=

# x11_session VIEWER: gui_session, on an X display with the X tools at hand.
x11_session() {
  [[ -n ${DISPLAY:-} ]] || { note "no DISPLAY: run this under xvfb-run"; exit 2; }
  local tool
  for tool in xdotool xwininfo "$IM_IMPORT"; do
    command -v "$tool" >/dev/null || { note "missing tool: $tool"; exit 2; }
  done
  gui_session "$1"
}

_stop_probe() {
  [[ -n $probe_pid ]] || return 0
  kill "$probe_pid" 2>/dev/null
  wait "$probe_pid" 2>/dev/null
}

# gui_init VIEWER PROBE: sets up the session (x11_session) and starts
# listening for the bell.
gui_init() {
  (($# == 2)) || { note "usage: $0 PATH/TO/inkpane PATH/TO/x11-probe"; exit 2; }
  probe=$2
  [[ -x $probe ]] || { note "no x11-probe at $probe"; exit 2; }
  x11_session "$1"
  cleanup_hooks+=(_stop_probe)
  "$probe" bells >"$work/bells" 2>"$work/probe.err" &
  probe_pid=$!
  poll 30 grep -q listening "$work/probe.err" || fail "x11-probe did not start listening for the bell"
}

bell_count() { grep -c . "$work/bells"; }

# The ids of the visible windows whose title matches an extended regex (which
# xdotool matches without regard to case).
visible_windows() { xdotool search --onlyvisible --name "$1" 2>/dev/null; }

# focus WINDOW: gives a window the keyboard focus, as a window manager does
# when the user clicks into it. xdotool waits for the focus to arrive; the
# timeout keeps a focus that never arrives from holding the test until
# ctest's deadline.
focus() { timeout 30 xdotool windowfocus --sync "$1" || fail "could not focus window $1"; }

_has_focus() { [[ $(xdotool getwindowfocus 2>/dev/null) == "$1" ]]; }

_focus_named() { [[ $(xdotool getwindowfocus getwindowname 2>/dev/null) =~ $1 ]]; }
# wait_focus_named REGEX [SECONDS]: waits until the window with the keyboard
# focus has a title that matches.
wait_focus_named() { poll "${2:-60}" _focus_named "$1"; }

# geometry WINDOW: prints "X Y WIDTH HEIGHT" of a window in screen pixels.
geometry() {
  xwininfo -id "$1" | awk '
    /Absolute upper-left X:/ { x = $NF }
    /Absolute upper-left Y:/ { y = $NF }
    /^ *Width:/ { w = $NF }
    /^ *Height:/ { h = $NF }
    END { print x, y, w, h }'
}

# screen_size: prints "WIDTH HEIGHT" of the screen.
screen_size() { xwininfo -root | awk '/^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF } END { print w, h }'; }

# resize_window WINDOW WIDTH HEIGHT: as the user does by dragging its corner.
resize_window() { xdotool windowsize --sync "$@"; }

# A popup menu shows as the one visible override-redirect window: Qt maps it
# itself, without asking a window manager, and gives it no useful title.
_one_popup() {
  local id popups=()
  for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' && popups+=("$id")
  done
  ((${#popups[@]} == 1)) && found=${popups[0]}
}
# wait_popup [SECONDS]: waits for a popup menu and sets $found to its id.
wait_popup() { found= && poll "${1:-60}" _one_popup; }

# screen_shot NAME: the whole screen, to $work/NAME.ppm. -silent keeps import
# from ringing the bell, which the tests count.
screen_shot() { "$IM_IMPORT" -silent -window root "$work/$1.ppm" || fail "screenshot $1 failed"; }

# press KEY...: keys as xdotool names them (alt+f, Return), one after another,
# to the window that has the keyboard focus.
press() { xdotool key "$@"; }

# type_line TEXT: types the text and Return.
type_line() {
  xdotool type --delay 5 "$1"
  xdotool key Return
}

# menu_entry MENU ENTRY: Alt+MENU, and once the menu shows, the entry's key;
# sets $keystroke_us to the time of that key.
menu_entry() {
  xdotool key "alt+$1"
  wait_popup || fail "Alt+$1 did not open its menu"
  keystroke_us=$(now_us)
  xdotool key "$2"
}

# set_screen_scale N: Qt scales the viewer by N, as on a high-density screen.
set_screen_scale() {
  scale=$1
  export QT_SCALE_FACTOR=$1
}

# open_by_mouse PATH: clicks File in the menu bar and Open in its menu, then
# types the path into the file dialog and presses Return.
open_by_mouse() {
  local x y w h
  read -r x y w h < <(geometry "$main_win")
  # The File menu is the first in the bar, so a point a dozen pixels from the
  # bar's left end and halfway down lies on its title whatever the font.
  xdotool mousemove --sync $((x + 12 * scale)) $((y + menubar_height / 2)) click 1
  wait_popup || fail "clicking File did not open its menu"
  read -r x y w h < <(geometry "$found")
  # Open is the first of the menu's two entries, above the separator and
  # Exit: a quarter of the way down the menu is on it.
  xdotool mousemove --sync $((x + w / 2)) $((y + h / 4)) click 1
  type_path_in_dialog "$1"
}

# close_window: asks the main window to close as a window manager does when
# the user clicks its close button (WM_DELETE_WINDOW), and sets $keystroke_us
# to the time of the request.
close_window() {
  keystroke_us=$(now_us)
  "$probe" close "$main_win" || fail "x11-probe could not send WM_DELETE_WINDOW"
}

# The helpers below serve tests that open hundreds of files. On a busy machine
# every run of xdotool or xwininfo costs tens of milliseconds, so each wait
# polls with a single run, and a step is not watched where the X server's
# ordering of one client's requests already proves it: the viewer hides its
# file dialog and its error box before it draws and rings the bell, so once
# the bell has rung they are gone.

# remember_windows: notes the windows visible now, so that a popup menu shows
# as the one new visible window. Run it with no menu, dialog or box open.
remember_windows() { known_windows=" $(visible_windows '' | tr '\n' ' ') "; }
_new_window() {
  local id
  for id in $(visible_windows ''); do
    [[ $known_windows == *" $id "* ]] || { found=$id && return 0; }
  done
  return 1
}

# quick_open_by_keyboard NAME: open_by_keyboard in fewer runs of xdotool,
# after remember_windows; the dialog is left to vanish on its own.
quick_open_by_keyboard() {
  timeout 30 xdotool windowfocus --sync "$main_win" key alt+f || fail "could not focus the window and press Alt+F"
  poll 60 _new_window || fail "Alt+F did not open the File menu"
  xdotool key o
  wait_focus_named "$DIALOG_TITLE" || fail "the file dialog did not appear with the keyboard focus"
  xdotool type --delay 5 "$1"
  xdotool key Return
}

# quick_dismiss_error: waits for the error box to take the focus and presses
# Return; the box is left to vanish on its own.
quick_dismiss_error() {
  wait_focus_named "$ERROR_TITLE" || fail "no error box took the keyboard focus"
  xdotool key Return
}
