#!/usr/bin/env bash
# Ends the viewer while a large image is still being drawn, either by choosing
# Exit (Alt+F, E) or by closing the window as a window manager does when the
# user clicks its close button (WM_DELETE_WINDOW). The viewer must end within
# a second, with status 0, and show no error box on the way. The viewer is
# slowed (start_slowed_viewer) so that the decode lasts long enough to end.
# With `whitespace`, the file is instead a long stretch of whitespace after the
# magic, which draws nothing: the viewer, not slowed, is ended while it reads
# through the whitespace.
# Usage: end_mid_decode.sh PATH/TO/inkpane PATH/TO/x11-probe exit|close [whitespace]
source "$(dirname "$0")/lib.sh"
way=${3:?say exit or close}
file=${4:-}
gui_init "$1" "$2"

# The viewer has read past the first 64 MiB of $whitespace, as its position in
# the file shows in /proc: it is in the middle, with nearly all of it to go.
_reading_whitespace() {
  local fd position
  for fd in /proc/"$viewer_pid"/fd/*; do
    [[ $(readlink "$fd" 2>/dev/null) == "$whitespace" ]] || continue
    position=$(awk '/^pos:/ { print $2 }' "/proc/$viewer_pid/fdinfo/${fd##*/}" 2>/dev/null)
    ((${position:-0} > 64 * 1024 * 1024)) && return 0
  done
  return 1
}

case $file in
  "")
    start_slowed_viewer
    step "open the large image"
    start_large_decode
    ;;
  whitespace)
    start_viewer
    # Sparse: made in a moment, it takes no disk, and reading it through
    # would take the viewer far longer than the test.
    whitespace=$work/files/whitespace.pbm
    printf 'P1' >"$whitespace"
    truncate -s 64G "$whitespace" || fail "could not make $whitespace"
    step "open 64 GiB of whitespace"
    open_by_keyboard "$whitespace"
    poll 30 _reading_whitespace || fail "the viewer did not read on into the whitespace"
    ;;
  *) fail "unknown file: $file" ;;
esac
window_visible "$ERROR_TITLE" && fail "an error box appeared during the decode"

end_by "$way"
wait_exit 1000 "$keystroke_us" || fail "the viewer was still running a second after the $way"
step "ended $(((exited_us - keystroke_us) / 1000)) ms after the $way"
((viewer_status == 0)) || fail "the viewer ended with status $viewer_status"
# The decode takes seconds; had it finished first, the bell would have rung
# and the test would have proved nothing.
expect_bells 0
step "ok"
