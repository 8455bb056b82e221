#!/usr/bin/env bash
# Opens a large picture and then a smaller one: the second replaces the
# first, so where only the first had pixels the background shows again.
# Usage: replace_image.sh PATH/TO/inkpane PATH/TO/x11-probe
source "$(dirname "$0")/lib.sh"
gui_init "$@"

make_text_image first 301 "The first picture is larger" "than the second one and" "must be gone entirely" "once the second is open." \
  "" "################################" "################################"
make_text_image second 91 "Second" "picture"
image_size "$work/files/second.pbm"

start_viewer
read_background
expected_client "$work/files/first.pbm" expected-first
expected_client "$work/files/second.pbm" expected-second

step "open first.pbm"
open_by_keyboard "$work/files/first.pbm"
wait_bells 1
expect_client shown-first "$work/expected-first.ppm"

step "open second.pbm over it"
open_by_keyboard "$work/files/second.pbm"
wait_bells 2
expect_client shown-second "$work/expected-second.ppm"
expect_background_beyond "$image_width" "$image_height" shown-second
linger 1
expect_bells 2
step "ok"
