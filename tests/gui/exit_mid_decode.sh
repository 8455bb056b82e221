#!/usr/bin/env bash
# Chooses Exit (Alt+F, E) while a large image is still being drawn: the
# viewer must end within a second of the keystroke, with status 0, and show
# no error box on the way.
# Usage: exit_mid_decode.sh PATH/TO/inkpane PATH/TO/x11-probe
source "$(dirname "$0")/lib.sh"
gui_init "$@"

start_viewer
step "open the large image"
start_large_decode
window_visible "$ERROR_TITLE" && fail "an error box appeared during the decode"

step "Alt+F, E"
exit_by_keyboard
wait_exit 1000 "$keystroke_us" || fail "the viewer was still running a second after Exit"
step "ended $(((exited_us - keystroke_us) / 1000)) ms after the keystroke"
((viewer_status == 0)) || fail "the viewer ended with status $viewer_status"
# The decode takes seconds; had it finished before Exit, the bell would have
# rung and the test would have proved nothing.
expect_bells 0
step "ok"
