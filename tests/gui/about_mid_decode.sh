#!/usr/bin/env bash
# Opens the About box while a large image is being drawn: the drawing must
# stand still while the box is up, go on once Return dismisses it, and Exit
# must then end the viewer with status 0.
#
# A picture shows only its first rows, and on an ordinary screen the decoder
# fills them within a fraction of a second. So this test runs on a very tall
# screen, with the window enlarged to its full height, as a user with such a
# screen might, and with the viewer slowed (start_slowed_viewer) so that the
# drawing moves down the window for seconds however fast the machine is.
# The About box is centred on the window, far below where the drawing is when
# it opens, so the rows above the box show where the drawing stands.
# Usage: about_mid_decode.sh PATH/TO/inkpane PATH/TO/x11-probe
source "$(dirname "$0")/lib.sh"
gui_init "$@"

start_slowed_viewer
read -r _ screen_height < <(screen_size)
((screen_height >= 8000)) || fail "this test needs a screen at least 8000 pixels high, not $screen_height"
resize_window "$main_win" "$CLIENT_WIDTH" "$screen_height" || fail "could not enlarge the window"
read_background

step "open the large image"
make_large_image
open_by_keyboard "$work/files/large.pbm"

# The keys are sent as soon as the drawing shows. The viewer runs events
# while its file opens, too, so keys sent before that could open the box
# with nothing drawn yet.
poll 60 _top_left_is_white || fail "the large image did not start to show"
step "Alt+H, A"
open_about_by_keyboard
about_box=$found
# Under Wine, set to Windows 10 as the program's manifest names it, the box
# names that system, as Windows reads the box's text.
[[ ${INKPANE_GUI_PLATFORM:-x11} != wine ]] ||
  expect_window_text "About..." '^Built with .*, running on Windows 10 \(build [0-9]+\) under Wine [0-9][^ ]*\.$'
read -r client_geometry_now < <(client_geometry)
IFS='x+' read -r client_width client_height client_x client_y <<<"$client_geometry_now"
read -r box_x box_y box_width box_height < <(geometry "$about_box")
above_box=$((box_y - client_y))
((above_box > 0)) || fail "the About box covers the top of the client area"
strip="${client_width}x$above_box+0+0"

# The rows above the box: some drawn white, the rest still background. The
# Help menu may still show over them for a moment after the box opens, until
# the slowed viewer has repainted where it was.
_strip_settled() {
  client_shot paused-1
  crop "$work/paused-1.ppm" "$strip" paused-1-strip
  count_pixels "$work/paused-1-strip.ppm" "$WHITE"
  white=$count
  count_pixels "$work/paused-1-strip.ppm" "$background"
  ((white + count == client_width * above_box))
}
poll 60 _strip_settled || fail "above the About box are colours other than white and background"
((white > 0)) || fail "no drawing shows above the About box"
expect_bells 0
((count > 0)) || fail "the drawing had passed the About box's top before the box opened; nothing left to watch"
step "paused with $((white / client_width)) rows drawn"

# A second later, with the box still up, nothing has moved.
linger 1
window_visible "$ABOUT_TITLE" || fail "the About box closed by itself"
client_shot paused-2
crop "$work/paused-2.ppm" "$strip" paused-2-strip
same_image "$work/paused-1-strip.ppm" "$work/paused-2-strip.ppm" ||
  fail "the drawing went on while the About box was up ($diff pixels changed)"
expect_bells 0

step "Return dismisses the box; the drawing goes on"
press Return
wait_window_gone "$ABOUT_TITLE" || fail "Return did not dismiss the About box"
_strip_moved() {
  client_shot resumed
  crop "$work/resumed.ppm" "$strip" resumed-strip
  ! same_image "$work/paused-2-strip.ppm" "$work/resumed-strip.ppm"
}
poll 30 _strip_moved || fail "the drawing did not go on after the About box was dismissed"

step "Alt+F, E"
exit_by_keyboard
wait_exit 5000 "$keystroke_us" || fail "the viewer did not end after Exit"
((viewer_status == 0)) || fail "the viewer ended with status $viewer_status"
step "ok"
