#!/usr/bin/env bash
# Opens a file that exists but is not a PBM, after a valid picture: an error
# box titled "Error" appears, Return dismisses it, the client area is left
# cleared to the background, and the bell rings once, after the box.
# Usage: invalid_file.sh PATH/TO/inkpane PATH/TO/x11-probe
source "$(dirname "$0")/lib.sh"
gui_init "$@"

make_text_image page 117 "Shown first," "then cleared."
# A grey-level netpbm image is a close relative that a bi-level viewer must
# still refuse.
pgmmake 0.5 40 30 >"$work/files/grey.pgm" || fail "pgmmake failed"

start_viewer
read_background
expected_client "$work/files/page.pbm" expected-page
"$IM_CONVERT" -size "${client_width}x$client_height" "xc:$background" "$work/expected-empty.ppm" ||
  fail "could not make the empty client area"

step "open page.pbm"
open_by_keyboard "$work/files/page.pbm"
wait_bells 1
expect_client shown-page "$work/expected-page.ppm"

step "open grey.pgm"
open_by_keyboard "$work/files/grey.pgm"
wait_window "$ERROR_TITLE" || fail "no window titled Error appeared"
error_box=$found
wait_focus "$error_box" || fail "the error box did not take the keyboard focus"
[[ ${INKPANE_GUI_PLATFORM:-x11} != wine ]] || expect_window_text Error '^This is not a valid PBM File\.$'
screen_shot error-box
# The ring belongs to the end of the command, after the box is dismissed.
expect_bells 1
press Return
wait_window_gone "$ERROR_TITLE" || fail "Return did not dismiss the error box"
wait_bells 2
expect_client cleared "$work/expected-empty.ppm"
linger 1
expect_bells 2
window_visible "$ERROR_TITLE" && fail "a second error box appeared"
step "ok"
