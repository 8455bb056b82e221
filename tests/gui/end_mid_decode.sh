#!/usr/bin/env bash
# Ends the viewer while a large image is still being drawn, either by choosing
# Exit (Alt+F, E) or by closing the window as a window manager does when the
# user clicks its close button (WM_DELETE_WINDOW). The viewer must end within
# a second, with status 0, and show no error box on the way. The viewer is
# slowed (start_slowed_viewer) so that the decode lasts long enough to end.
# Usage: end_mid_decode.sh PATH/TO/inkpane PATH/TO/x11-probe exit|close
source "$(dirname "$0")/lib.sh"
way=${3:?say exit or close}
gui_init "$1" "$2"

start_slowed_viewer
step "open the large image"
start_large_decode
window_visible "$ERROR_TITLE" && fail "an error box appeared during the decode"

case $way in
  exit)
    step "Alt+F, E"
    exit_by_keyboard
    ;;
  close)
    step "close the window"
    close_window
    ;;
  *) fail "unknown way to end: $way" ;;
esac
wait_exit 1000 "$keystroke_us" || fail "the viewer was still running a second after the $way"
step "ended $(((exited_us - keystroke_us) / 1000)) ms after the $way"
((viewer_status == 0)) || fail "the viewer ended with status $viewer_status"
# The decode takes seconds; had it finished first, the bell would have rung
# and the test would have proved nothing.
expect_bells 0
step "ok"
