#!/usr/bin/env bash
# Opens a picture kept on storage that stalls, as a network share that stops
# answering or a cloud file still downloading does, served by
# stalling_storage.py, a FUSE file system this script mounts and unmounts.
#   stalled-read exit|close   every read from 64 KiB on waits
#   stalled-open exit|close   opening the file waits
#   share-gone exit|close     a picture opens from a folder that then stops
#                             answering; File > Open must show the dialog
#                             within 3 seconds all the same
#   close-waits exit|close    closing the file waits; the viewer is ended
#                             while it draws an endless picture
#   waits-once                the first read from 64 KiB on waits 3 seconds
# While a call waits, the window must stay live: About opens and closes, and
# the viewer uses next to no processor time. Exit, or closing the window,
# must then take the window away within a second; once the storage answers,
# the viewer ends with status 0 and nothing more happens. A wait that ends
# lets the decode go on, to netpbm's picture exactly.
# Usage: slow_storage.sh PATH/TO/inkpane PATH/TO/x11-probe MODE [exit|close]
source "$(dirname "$0")/lib.sh"
mode=${3:?say stalled-read, stalled-open or waits-once}
way=${4:-}
gui_init "$1" "$2"

[[ -e /dev/fuse ]] || fail "/dev/fuse is missing: these tests need FUSE to make storage that stalls"
command -v fusermount3 >/dev/null || fail "missing tool: fusermount3 (Debian's fuse3)"

storage=$work/storage storage_log=$work/storage.log storage_pid=
# A lazy unmount lets go of the calls still waiting; ending the file system
# then aborts them, so that nothing it served holds a process any longer.
_stop_storage() {
  [[ -n $storage_pid ]] || return 0
  fusermount3 -uz "$storage" 2>/dev/null
  kill -KILL "$storage_pid" 2>/dev/null
  wait "$storage_pid" 2>/dev/null
  storage_pid=
}
# Before the viewer is stopped: a viewer inside a stalled call cannot end
# while the call waits.
trap '_stop_storage; gui_cleanup' EXIT

mkdir -p "$storage"
# Debian's python, which has the fusepy module.
/usr/bin/python3 "$(dirname "$0")/stalling_storage.py" "$work/files" "$storage" "$storage_log" 3600 \
  $([[ $mode == share-gone ]] && echo uncached) \
  2>"$work/storage.err" &
storage_pid=$!
_mounted() { [[ -d $storage/reads-wait ]]; }
poll 30 _mounted || fail "the stalling file system did not mount (see $work/storage.err)"

# A plain page, whose text takes well over 64 KiB, on the client area whole.
make_text_image page 440 "Scanned on a share" "that stops answering." "0123456789 ,.;:!?"
pnmpad -white -bottom 240 "$work/files/page.pbm" | pnmtoplainpnm >"$work/files/page-plain.pbm" ||
  fail "could not make the plain page"
(($(stat -c %s "$work/files/page-plain.pbm") > 100 * 1024)) || fail "the plain page is not over 100 KiB"

_cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$viewer_pid/stat"; }
_logged() { grep -q "^$1$" "$storage_log"; }
_main_gone() { ! window_visible "$MAIN_TITLE"; }
_client_settled() {
  client_shot settled-2
  same_image "$work/settled-1.ppm" "$work/settled-2.ppm" && return 0
  mv "$work/settled-2.ppm" "$work/settled-1.ppm"
  return 1
}

# expect_idle: a window thread that polled for the helper's end would use a
# processor whole; sleeping in its event wait, it uses next to none. Once the
# window has settled, five one-second spans are measured and the least
# counts: polling fills every span, while a late repaint or a busy
# neighbour spoils a few at most. Idleness can only be watched for a while.
# Meanwhile folders come and go in the working folder, which the dialog
# listed on the way to the picture: a dialog still watching it once the
# picture opened would keep the window thread busy.
churn_pid=
_stop_churn() { [[ -z $churn_pid ]] || { kill "$churn_pid" 2>/dev/null; wait "$churn_pid" 2>/dev/null; churn_pid=; }; }
cleanup_hooks+=(_stop_churn)
expect_idle() {
  client_shot settled-1
  poll 30 _client_settled || fail "the window did not settle"
  local span ticks used_ms least_ms=
  while :; do mkdir "$work/comes-and-goes" && rmdir "$work/comes-and-goes"; sleep 0.01; done &
  churn_pid=$!
  for span in 1 2 3 4 5; do
    ticks=$(_cpu_ticks)
    linger 1
    used_ms=$((($(_cpu_ticks) - ticks) * 1000 / $(getconf CLK_TCK)))
    [[ -n $least_ms ]] && ((used_ms >= least_ms)) || least_ms=$used_ms
  done
  _stop_churn
  step "the viewer used at least $least_ms ms of processor time in each of five seconds of waiting"
  ((least_ms <= 50)) || fail "the viewer used more than 50 ms of processor time in every second of waiting"
}

# about_opens: Alt+H, A shows the About box, and Return closes it.
about_opens() {
  step "About"
  open_about_by_keyboard
  press Return
  wait_window_gone "$ABOUT_TITLE" || fail "the About box did not close"
  window_visible "$ERROR_TITLE" && fail "an error box appeared"
  return 0
}

# An endless picture is drawn sixteen rows at a time by a slowed viewer, so
# that Exit comes while the decode lets events run with its file open.
[[ $mode == close-waits ]] && start_slowed_viewer || start_viewer
read_background
case $mode in
  waits-once)
    expected_client "$work/files/page-plain.pbm" expected
    step "open the page from storage that waits once"
    open_by_keyboard "$storage/waits-once/page-plain.pbm"
    poll 60 _logged "stalled read page-plain.pbm" || fail "the viewer did not come to wait on the storage"
    wait_bells 1 60
    expect_client shown "$work/expected.ppm"
    _logged "answered read page-plain.pbm" || fail "the bell rang before the storage answered"
    step "ok"
    exit 0
    ;;
  stalled-read | stalled-open)
    call=${mode#stalled-}
    folder=$([[ $call == read ]] && echo reads-wait || echo open-waits)
    step "open the page, whose $call stalls"
    open_by_keyboard "$storage/$folder/page-plain.pbm"
    poll 60 _logged "stalled $call page-plain.pbm" || fail "the viewer did not come to wait on the $call"
    about_opens
    expect_idle
    bells=0
    ;;
  share-gone)
    step "open a page from a share, which stops answering once it is closed"
    open_by_keyboard "$storage/gone-after-close/page.pbm"
    wait_bells 1 60
    poll 60 _logged gone || fail "the share did not stop answering"
    step "File > Open"
    focus "$main_win"
    menu_entry f o
    opened_us=$(now_us)
    wait_window "$DIALOG_TITLE" || fail "the file dialog did not appear"
    shown_ms=$((($(now_us) - opened_us) / 1000))
    step "the dialog showed $shown_ms ms after Open"
    ((shown_ms <= 3000)) || fail "the dialog took more than 3 s to show"
    wait_focus "$found" || fail "the file dialog did not take the keyboard focus"
    press Escape
    wait_window_gone "$DIALOG_TITLE" || fail "Escape did not close the file dialog"
    about_opens
    bells=1
    ;;
  close-waits)
    # Sparse: made in a moment, and never read through.
    printf 'P4 32767 32767\n' >"$work/files/endless.pbm"
    truncate -s 64G "$work/files/endless.pbm" || fail "could not make the endless file"
    step "open an endless picture, whose close would wait"
    open_by_keyboard "$storage/close-waits/endless.pbm"
    poll 60 _top_left_is_white || fail "the endless picture did not start to show"
    bells=0
    ;;
  *) fail "unknown mode: $mode" ;;
esac
grep -q "^answered" "$storage_log" && fail "the storage answered during the test, which then proved nothing"

end_by "$way"
until _main_gone; do
  (($(now_us) < keystroke_us + (1000 + withdraw_allowance_ms) * 1000)) ||
    fail "the window was still on screen $((1000 + withdraw_allowance_ms)) ms after the $way"
  sleep 0.02
done
step "the window went $((($(now_us) - keystroke_us) / 1000)) ms after the $way"

step "the storage answers"
touch "$storage_log.answer"
wait_exit 30000 || fail "the viewer did not end once the storage answered"
((viewer_status == 0)) || fail "the viewer ended with status $viewer_status"
expect_bells "$bells"
step "ok"
