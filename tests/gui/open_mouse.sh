#!/usr/bin/env bash
# Opens a PBM the way a mouse user does: a click on File in the menu bar, a
# click on Open in its menu, the path typed into the file dialog and Return.
# The client area must show netpbm's decode of the file at the top-left and
# the background elsewhere, and the bell must ring once.
# Usage: open_mouse.sh PATH/TO/inkpane PATH/TO/x11-probe
source "$(dirname "$0")/lib.sh"
gui_init "$@"

make_text_image page 157 "Opened with" "the mouse." "~ 1 2 3 4 5 ~"

image_size "$work/files/page.pbm"

start_viewer
read_background
expected_client "$work/files/page.pbm" expected
step "open page.pbm by mouse"
open_by_mouse "$work/files/page.pbm"
wait_bells 1
expect_client shown "$work/expected.ppm"
expect_background_beyond "$image_width" "$image_height" shown
linger 1
expect_bells 1
step "ok"
