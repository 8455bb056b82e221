#!/usr/bin/env bash
# Runs the viewer on a screen scaled by 2, as a high-density screen is (on X
# Qt scales by QT_SCALE_FACTOR, on Wayland the output is scaled), and opens a
# one-pixel checkerboard: the client area, 898x686 screen pixels, must
# show it one image pixel on one screen pixel, never blown up to 2x2 blocks
# and never smoothed, with the background everywhere else.
# Usage: scale_factor_2.sh PATH/TO/inkpane PATH/TO/x11-probe
source "$(dirname "$0")/lib.sh"
gui_init "$@"

# Odd sizes also leave partial bytes at the end of each raw row.
pbmmake -gray 67 61 >"$work/files/checkerboard.pbm" || fail "pbmmake failed"
image_size "$work/files/checkerboard.pbm"

set_screen_scale 2
start_viewer
read_background
expected_client "$work/files/checkerboard.pbm" expected

step "open checkerboard.pbm"
open_by_keyboard "$work/files/checkerboard.pbm"
wait_bells 1
expect_client shown "$work/expected.ppm"
expect_background_beyond "$image_width" "$image_height" shown
step "ok"
