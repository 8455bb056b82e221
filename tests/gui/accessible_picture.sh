#!/usr/bin/env bash
# Under Wine: what Active Accessibility says of the picture, read by
# window-probe as a screen reader reads it. Before any open it is a focused
# graphic named "No picture"; after an open it is named after the file and
# described by its size, focused and no longer busy, and the window has said
# so with events for it; during a drawing it is busy. A change of the system's
# colours repaints the picture from memory, exactly as it was (Wine cannot
# turn high contrast on), without reading the file again, which has meanwhile
# changed.
# Usage: accessible_picture.sh PATH/TO/inkpane.exe PATH/TO/x11-probe
source "$(dirname "$0")/lib.sh"
[[ ${INKPANE_GUI_PLATFORM:-} == wine ]] || { note "Active Accessibility is read under Wine only"; exit 2; }
gui_init "$@"

make_text_image page 203 "Read aloud:" "a picture's name" "and its size."
image_size "$work/files/page.pbm"

# expect_picture FIELD REGEX: what the probe says of the picture, its line
# FIELD (role, name, description, states), matches the extended regex.
expect_picture() {
  wine "$window_probe" picture 'Inkpane 1.1' 2>/dev/null | tr -d '\r' >"$work/picture.txt" ||
    fail "Active Accessibility gives no client object for the main window"
  grep -qx 'children: 1' "$work/picture.txt" || fail "the client area has not one child: $(cat "$work/picture.txt")"
  grep -Eq "^$1: $2\$" "$work/picture.txt" || fail "the picture's $1 does not match $2: $(cat "$work/picture.txt")"
}

start_viewer
read_background
wait_focus "$main_win" || fail "Windows does not give the main window the keyboard focus"
expect_picture role graphic
expect_picture name 'No picture'
expect_picture states 'focusable focused'

listener_pid=
_stop_listener() { [[ -z $listener_pid ]] || { kill "$listener_pid" 2>/dev/null; wait "$listener_pid" 2>/dev/null; }; }
cleanup_hooks+=(_stop_listener)
wine "$window_probe" events 'Inkpane 1.1' 2>/dev/null >>"$work/events.txt" &
listener_pid=$!
poll 30 grep -q listening "$work/events.txt" || fail "window-probe did not start listening for events"

step "open page.pbm"
focus "$main_win"
menu_entry f o
wait_window "$DIALOG_TITLE" || fail "the file dialog did not appear"
wait_focus "$found" || fail "the file dialog did not take the keyboard focus"
# What the picture is told from here on: the focus comes back to it.
: >"$work/events.txt"
type_line "$work/files/page.pbm"
wait_bells 1
_heard_all() { local event; for event in focus state name description; do grep -q "^$event" "$work/events.txt" || return 1; done; }
poll 30 _heard_all || fail "not every event for the picture was sent; heard: $(tr -d '\r' <"$work/events.txt")"
expected_client "$work/files/page.pbm" expected
expect_client shown "$work/expected.ppm"
expect_picture name 'page\.pbm'
expect_picture description "$image_width × $image_height pixels"
expect_picture states 'focusable focused'

step "the system's colours change, and the file with them"
make_text_image page 99 "Not read again."
wine "$window_probe" colours-changed 'Inkpane 1.1' 2>/dev/null || fail "could not tell the window of new colours"
expect_client recoloured "$work/expected.ppm"
window_visible "$ERROR_TITLE" && fail "the file was read again"

step "a picture being drawn is busy"
make_large_image
open_by_keyboard "$work/files/large.pbm"
poll 60 _top_left_is_white || fail "the large image did not start to show"
expect_picture name 'large\.pbm'
expect_picture states 'focusable focused busy'
step "ok"
