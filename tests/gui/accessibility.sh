#!/usr/bin/env bash
# What the real window gives those who cannot see it well.
#   reader         over AT-SPI, the picture is an image named "No picture"; an
#                  open through the dialog gives it the focus, with a focus
#                  event, named after the file and described by its size; while
#                  a read stalls it is busy, and once storage answers it is not
#   orca           Orca, with no key pressed, says the file's name and the
#                  picture's size when an open ends
#   high-contrast  with GNOME's high-contrast key on, set before the start and
#                  switched while the viewer runs, the picture's black shows in
#                  the palette's text colour and its white in its base colour;
#                  with it off, exactly as drawn
# The first two run under openbox, on an accessibility bus of their own. GNOME's
# settings come from a keyfile in the working folder, so nothing outside changes.
# Usage: accessibility.sh PATH/TO/inkpane PATH/TO/x11-probe MODE
source "$(dirname "$0")/lib.sh"
mode=${3:?say reader, orca or high-contrast}
gui_init "$1" "$2"

here=$(dirname "$0")
mkdir -p "$work/config/glib-2.0/settings" "$work/cache"
export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache GSETTINGS_BACKEND=keyfile
# set_high_contrast true|false: written whole at once, so no watcher reads half.
set_high_contrast() {
  printf '[org/gnome/desktop/a11y/interface]\nhigh-contrast=%s\n' "$1" >"$work/keyfile.new"
  mv "$work/keyfile.new" "$XDG_CONFIG_HOME/glib-2.0/settings/keyfile"
}

helpers=() bus_pid= orca_pid=
# Whether a process with the working folder in its environment still runs, as
# the services a bus started may for a moment after it ends.
_none_left() {
  local dir
  for dir in /proc/[0-9]*; do
    [[ ${dir#/proc/} != "$$" && ${dir#/proc/} != "$BASHPID" ]] && grep -qaF "$work/" "$dir/environ" 2>/dev/null &&
      return 1
  done
  return 0
}
_stop_helpers() {
  local pid
  fusermount3 -uz "$work/storage" 2>/dev/null
  # Orca is the child of script, which ends when Orca has.
  [[ -n $orca_pid ]] && kill "$orca_pid" 2>/dev/null
  for pid in "${helpers[@]}"; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
  # dbus-run-session ends its bus when the command it runs ends.
  [[ -n $bus_pid ]] && kill $(cat /proc/"$bus_pid"/task/*/children) 2>/dev/null && wait "$bus_pid"
}
# The storage goes first: a viewer inside a stalled call cannot end.
trap '_stop_helpers; gui_cleanup; poll 30 _none_left || note "processes of this test still run"' EXIT

# start_accessibility_bus: a session bus with accessibility on, as a desktop
# turns it on for a screen reader, and openbox to give windows the focus.
start_accessibility_bus() {
  dbus-run-session -- bash -c 'echo "$DBUS_SESSION_BUS_ADDRESS" >"$0.new" && mv "$0.new" "$0" && exec sleep infinity' \
    "$work/bus" 2>"$work/bus.err" &
  bus_pid=$!
  poll 30 test -s "$work/bus" || fail "dbus-run-session did not start a bus"
  export DBUS_SESSION_BUS_ADDRESS=$(<"$work/bus")
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
    string:org.a11y.Status string:IsEnabled variant:boolean:true >/dev/null || fail "could not turn accessibility on"
  openbox --sm-disable 2>"$work/openbox.err" &
  helpers+=($!)
  poll 30 eval 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || fail "openbox did not start"
}

# open_under_openbox PATH [LINE]: Alt+F, O, the path, Return; with LINE, as
# a user who listens, once Orca, as logged from that line on, has read the
# dialog. openbox maps windows of its own as popups are mapped, so the menu is
# the one window new since remember_windows. A screen reader sees every key
# first, and one just after it spoke may come to nothing: Escape undoes what
# came, and the keys are pressed again.
_dialog_opens() {
  timeout 30 xdotool windowfocus --sync "$main_win" key alt+f && poll 3 _new_window && press o &&
    wait_focus_named "$DIALOG_TITLE" 5 && return 0
  press Escape Escape
  return 1
}
open_under_openbox() {
  poll 60 _dialog_opens || fail "Alt+F, O did not open the file dialog"
  [[ -z ${2:-} ]] || wait_said "$2" "Select a PBM Image dialog"
  type_line "$1"
  wait_window_gone "$DIALOG_TITLE" || fail "the file dialog did not close after Return"
}

_picture_is() { picture=$(/usr/bin/python3 "$here/accessibility_probe.py" picture) && [[ $picture == "$1" ]]; }
# expect_picture ROLE|NAME|DESCRIPTION|STATES: what a screen reader finds.
expect_picture() { poll 60 _picture_is "$1" || fail "the picture reads '$picture', not '$1'"; }
_said_since() { tail -n "+$1" "$work/orca.log" | grep -qF "SPEECH OUTPUT: '$2"; }
# wait_said LINE TEXT: Orca says TEXT, or words that begin with it, as logged
# from line LINE on.
wait_said() { poll 60 _said_since "$1" "$2" || fail "Orca did not say '$2' (see $work/orca.log)"; }
size_of() { image_size "$1" && echo "$image_width × $image_height pixels"; }

make_text_image page 203 "Read aloud, or light" "on dark, as asked."
case $mode in
  reader)
    start_accessibility_bus
    /usr/bin/python3 "$here/accessibility_probe.py" listen "$work/events" &
    helpers+=($!)
    poll 30 grep -qs listening "$work/events" || fail "the AT-SPI listener did not start"
    mkdir "$work/storage"
    /usr/bin/python3 "$here/stalling_storage.py" "$work/files" "$work/storage" "$work/storage.log" 3600 &
    helpers+=($!)
    poll 30 test -d "$work/storage/reads-wait" || fail "the stalling file system did not mount"
    # Plain and over 64 KiB, so that its reads stall.
    pnmpad -white -bottom 400 "$work/files/page.pbm" | pnmtoplainpnm >"$work/files/slow.pbm"

    start_viewer
    remember_windows
    expect_picture "image|No picture||focused"
    step "open page.pbm"
    open_under_openbox "$work/files/page.pbm"
    wait_bells 1
    expect_picture "image|page.pbm|$(size_of "$work/files/page.pbm")|focused"
    grep -qxF "focus:|$picture" "$work/events" || fail "no focus event came for the picture (see $work/events)"
    step "open slow.pbm, whose reads stall"
    open_under_openbox "$work/storage/reads-wait/slow.pbm"
    poll 60 grep -q "^stalled read slow.pbm" "$work/storage.log" || fail "the viewer did not come to wait on the read"
    expect_picture "image|slow.pbm||busy"
    touch "$work/storage.log.answer"
    wait_bells 2
    expect_picture "image|slow.pbm|$(size_of "$work/files/slow.pbm")|focused"
    ;;
  orca)
    # Orca will not start beside another of the same user's, such as the one
    # of this test in the other build, run beside it: they take turns.
    exec {orca_turn}>"${TMPDIR:-/tmp}/inkpane-gui-orca.lock"
    flock -w 240 "$orca_turn" || fail "another Orca test ran for 4 minutes"
    _no_orca() { ! pgrep -u "$(id -u)" -x orca >/dev/null; }
    poll 60 _no_orca || fail "another Orca of this user's is running"
    start_accessibility_bus
    # On a terminal Orca logs line by line, so the log can be read while it
    # runs; with no speech server to start, it logs what it would say.
    SPEECHD_CMD=/bin/false script -qfec "exec orca --debug-file=/dev/tty" "$work/orca.log" </dev/null >/dev/null &
    helpers+=($!)
    _orca_pid() { orca_pid=$(cat /proc/"${helpers[-1]}"/task/*/children 2>/dev/null) && [[ -n $orca_pid ]]; }
    poll 30 _orca_pid || fail "script did not start Orca"
    _orca_started() { _said_since 1 "Screen reader on." || grep -q "Another screen reader" "$work/orca.log"; }
    poll 60 _orca_started && _said_since 1 "Screen reader on." ||
      fail "Orca did not start; it may see another Orca of this user's running (see $work/orca.log)"
    # The dialog opens in the folder the viewer started in, so that the name
    # alone is typed: Orca reads every key, and falls behind on long paths.
    viewer=$(realpath "$viewer")
    cd "$work/files" || fail "no folder $work/files"
    start_viewer
    remember_windows
    wait_said 1 "No picture image."
    step "open page.pbm"
    since=$(wc -l <"$work/orca.log")
    open_under_openbox page.pbm "$since"
    wait_bells 1
    wait_said "$since" "page.pbm image."
    wait_said "$since" "$(size_of "$work/files/page.pbm")."
    ;;
  high-contrast)
    # Light text on a dark base, as a high-contrast theme gives, through Qt's
    # KDE theme; the buttons, which Qt makes the background from, are neither.
    text='srgb(255,255,0)' base='srgb(0,0,96)'
    printf '%s\n' '[Colors:View]' 'BackgroundNormal=0,0,96' 'ForegroundNormal=255,255,0' \
      '[Colors:Button]' 'BackgroundNormal=64,96,64' >"$XDG_CONFIG_HOME/kdeglobals"
    export QT_QPA_PLATFORMTHEME=kde KDE_SESSION_VERSION=5 XDG_CURRENT_DESKTOP=KDE
    set_high_contrast true
    start_viewer
    read_background
    expected_client "$work/files/page.pbm" as-drawn
    "$IM_CONVERT" "$work/as-drawn.ppm" \( "$work/as-drawn-netpbm.ppm" +level-colors "$text,$base" \) -composite \
      "$work/in-contrast.ppm" || fail "could not make the client area in high contrast"
    step "open page.pbm in high contrast"
    open_by_keyboard "$work/files/page.pbm"
    wait_bells 1
    expect_client shown-in-contrast "$work/in-contrast.ppm"
    for on in false true; do
      step "high contrast $on while the viewer runs"
      set_high_contrast $on
      expect_client "shown-$on" "$work/$([[ $on == true ]] && echo in-contrast || echo as-drawn).ppm"
    done
    ;;
  *) fail "unknown mode: $mode" ;;
esac
step "ok"
