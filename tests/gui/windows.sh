# What the GUI tests do with windows in either window system, built on the
# verbs that x11.sh and wayland.sh each provide: visible_windows, _has_focus,
# focus, geometry, screen_shot, type_line and menu_entry. Sourced by lib.sh.

window_visible() { [[ -n $(visible_windows "$1") ]]; }
_first_visible() { found=$(visible_windows "$1" | head -n 1) && [[ -n $found ]]; }
_none_visible() { ! window_visible "$1"; }

# wait_window REGEX [SECONDS]: waits for a visible window whose title matches
# and sets $found to its id.
wait_window() { found= && poll "${2:-60}" _first_visible "$1"; }
wait_window_gone() { poll "${2:-60}" _none_visible "$1"; }

wait_focus() { poll "${2:-60}" _has_focus "$1"; }

# The client area of the main window in screen pixels, as WIDTHxHEIGHT+X+Y:
# all of the window under the menu bar.
client_geometry() {
  local x y w h
  read -r x y w h < <(geometry "$main_win")
  echo "${w}x$((h - menubar_height))+$x+$((y + menubar_height))"
}

# client_shot NAME: the client area alone, to $work/NAME.ppm.
client_shot() {
  local geometry
  geometry=$(client_geometry)
  screen_shot "$1-screen"
  crop "$work/$1-screen.ppm" "$geometry" "$1"
}

# open_by_keyboard PATH: Alt+F, O, the path typed into the file dialog's name
# box and Return, as a user of the keyboard does it.
open_by_keyboard() {
  focus "$main_win"
  menu_entry f o
  type_path_in_dialog "$1"
}

# type_path_in_dialog PATH: the file dialog must appear with the focus in it;
# the path is typed into its name box, which has the focus, and accepted.
# Qt's dialog, typed into at full speed on a loaded machine, now and then
# takes the Return for a folder on the path, opens it and empties the name
# box. A user then types the path once more, and so does this, noting it.
type_path_in_dialog() {
  wait_window "$DIALOG_TITLE" || fail "the file dialog did not appear"
  wait_focus "$found" || fail "the file dialog did not take the keyboard focus"
  type_line "$1"
  local again
  for again in 1 2; do
    wait_window_gone "$DIALOG_TITLE" 10 && return 0
    note "the dialog is still open 10 s after Return: the path once more"
    type_line "$1"
  done
  wait_window_gone "$DIALOG_TITLE" || fail "the file dialog did not close after Return"
}

# open_about_by_keyboard: Alt+H, A; sets $found to the About box once it has
# the keyboard focus, which a key pressed earlier would miss.
open_about_by_keyboard() {
  focus "$main_win"
  menu_entry h a
  wait_window "$ABOUT_TITLE" || fail "no window titled About... appeared"
  wait_focus "$found" || fail "the About box did not take the keyboard focus"
}

# exit_by_keyboard: Alt+F, E, and sets $keystroke_us to the time of the E.
exit_by_keyboard() {
  focus "$main_win"
  menu_entry f e
}

# end_by exit|close: ends the viewer by choosing Exit (Alt+F, E) or by closing
# the window as a window manager does when the user clicks its close button,
# and sets $keystroke_us to the time of that.
end_by() {
  case $1 in
    exit)
      step "Alt+F, E"
      exit_by_keyboard
      ;;
    close)
      step "close the window"
      close_window
      ;;
    *) fail "say exit or close, not '$1'" ;;
  esac
}
