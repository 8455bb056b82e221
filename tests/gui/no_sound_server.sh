#!/usr/bin/env bash
# With no sound server at all, where the bell is a sound (Wayland): Open still
# draws the picture, twice in a row, and shows no message.
# Usage: no_sound_server.sh PATH/TO/inkpane -
source "$(dirname "$0")/lib.sh"
gui_init "$@"
no_sound_server

make_text_image page 117 "Silent, but" "drawn."
start_viewer
read_background
expected_client "$work/files/page.pbm" expected
for round in 1 2; do
  step "open page.pbm, round $round"
  open_by_keyboard "$work/files/page.pbm"
  expect_client "shown-$round" "$work/expected.ppm"
done
# A message, had there been one, would come right after the drawing.
linger 1
[[ $(visible_windows '') == "$main_win" ]] || fail "a window besides the main one appeared"
step "ok"
