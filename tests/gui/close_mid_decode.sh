#!/usr/bin/env bash
# Closes the window, as a window manager does when the user clicks its close
# button (WM_DELETE_WINDOW), while a large image is still being drawn: the
# viewer must end within a second, with status 0, and show no error box.
# Usage: close_mid_decode.sh PATH/TO/inkpane PATH/TO/x11-probe
source "$(dirname "$0")/lib.sh"
gui_init "$@"

start_viewer
step "open the large image"
start_large_decode
window_visible "$ERROR_TITLE" && fail "an error box appeared during the decode"

step "close the window"
keystroke_us=$(now_us)
"$probe" close "$main_win" || fail "x11-probe could not send WM_DELETE_WINDOW"
wait_exit 1000 "$keystroke_us" || fail "the viewer was still running a second after its window was closed"
step "ended $(((exited_us - keystroke_us) / 1000)) ms after the close request"
((viewer_status == 0)) || fail "the viewer ended with status $viewer_status"
expect_bells 0
step "ok"
