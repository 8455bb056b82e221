# The Wayland counterparts of x11.sh's verbs, under the same names, so that a
# script runs in either session. Sourced by lib.sh when INKPANE_GUI_PLATFORM
# is wayland. Each script runs its own headless sway, the compositor of a
# user's desktop, and its own PulseAudio with a null sink, where every sound
# the viewer plays shows as a new playback stream.
#
# sway refuses to run as root: run as root, the tests start it as nobody, in a
# folder of its own that nobody owns; root clients still reach its socket.
# wtype types through a virtual keyboard that it makes anew at each call, and
# keys sent before the compositor has taken its keymap are lost: every call
# waits before its first key. Sent at once, the first keys were lost; after
# 50 ms none were, in 20 tries with both cores busy. A whole second leaves a
# margin for a machine far busier than that.

readonly SWAY_OUTPUT=HEADLESS-1 WTYPE_WARMUP_MS=1000
sway_pid= pulse_pid= events_pid= sway_dir=
# Set by wait_window: the window found.
found=

# gui_init VIEWER [PROBE]: sets up the session (gui_session), starts the
# compositor and the sound server, and points the viewer's environment at
# them. The probe, which only X needs, is ignored.
gui_init() {
  (($# >= 1)) || { note "usage: $0 PATH/TO/inkpane"; exit 2; }
  local tool
  for tool in sway swaymsg wtype grim jq pulseaudio pactl setpriv; do
    command -v "$tool" >/dev/null || { note "missing tool: $tool"; exit 2; }
  done
  gui_session "$1"
  cleanup_hooks+=(_stop_session)
  start_sway
  start_sound_server
  # As a desktop session announces itself: Qt then picks its Wayland platform.
  export XDG_SESSION_TYPE=wayland
  unset DISPLAY
}

_stop_session() {
  [[ -n $events_pid$pulse_pid$sway_pid ]] || return 0
  kill $events_pid $pulse_pid $sway_pid 2>/dev/null
  wait $events_pid $pulse_pid $sway_pid 2>/dev/null
}

_sway_ready() {
  local sockets
  sockets=("$sway_dir"/wayland-[0-9] "$sway_dir"/sway-ipc.*.sock)
  [[ -S ${sockets[0]} && -S ${sockets[1]} ]] || return 1
  export WAYLAND_DISPLAY=${sockets[0]} SWAYSOCK=${sockets[1]}
  swaymsg -t get_outputs >/dev/null 2>&1
}

start_sway() {
  sway_dir=$work/sway
  mkdir -m 700 "$sway_dir"
  # Windows keep their own size, without borders, as the X tests' windows do
  # without a window manager.
  printf '%s\n' "output $SWAY_OUTPUT resolution 1280x1024" 'default_border none' 'default_floating_border none' \
    'xwayland disable' 'for_window [title=".*"] floating enable' >"$sway_dir/config"
  local as_user=()
  if ((EUID == 0)); then
    chown -R nobody: "$sway_dir"
    chmod 711 "$work"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  fi
  env -i PATH="$PATH" HOME="$sway_dir" XDG_RUNTIME_DIR="$sway_dir" WLR_BACKENDS=headless WLR_RENDERER=pixman \
    WLR_LIBINPUT_NO_DEVICES=1 "${as_user[@]}" sway -c "$sway_dir/config" >"$work/sway.log" 2>&1 &
  sway_pid=$!
  poll 60 _sway_ready || fail "sway did not start (see $work/sway.log)"
}

# The sound server and pactl keep a home of their own, so that nothing they
# write lands in the viewer's. env executes the program in its own place, so
# one started in the background has the id that $! gives and the cleanup
# stops; started through a shell function, it would be the function's
# subshell that the cleanup stopped, and the program would live on.
pulse_home=()
_pactl() { "${pulse_home[@]}" pactl "$@"; }

# Any change on the sink shows that the listener has subscribed.
_listening() {
  _pactl set-sink-mute bells toggle >/dev/null 2>&1
  grep -q "'change' on sink" "$work/sound-events"
}

start_sound_server() {
  mkdir -m 700 "$work/pulse"
  pulse_home=(env HOME="$work/pulse" XDG_RUNTIME_DIR="$work/pulse")
  "${pulse_home[@]}" pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    --load="module-null-sink sink_name=bells" --load="module-native-protocol-unix socket=$work/pulse/native" \
    >"$work/pulse.log" 2>&1 &
  pulse_pid=$!
  export PULSE_SERVER=unix:$work/pulse/native
  poll 60 _pactl info >/dev/null 2>&1 || fail "PulseAudio did not start (see $work/pulse.log)"
  "${pulse_home[@]}" pactl subscribe >"$work/sound-events" 2>&1 &
  events_pid=$!
  poll 60 _listening || fail "pactl subscribe did not start listening"
}

# no_sound_server: the session goes on without any sound server.
no_sound_server() {
  kill "$events_pid" "$pulse_pid" 2>/dev/null
  wait "$events_pid" "$pulse_pid" 2>/dev/null
  events_pid= pulse_pid=
  unset PULSE_SERVER
}

# Every sound is a new playback stream on the sound server.
bell_count() { grep -c "'new' on sink-input" "$work/sound-events"; }

# Every window as one line: ID FOCUSED X Y WIDTH HEIGHT TITLE, in logical
# pixels.
_windows() {
  swaymsg -t get_tree 2>/dev/null | jq -r '.. | objects | select(.pid? != null)
    | "\(.id) \(.focused) \(.rect.x) \(.rect.y) \(.rect.width) \(.rect.height) \(.name // "")"'
}

# The ids of the windows whose title matches an extended regex, without
# regard to case.
visible_windows() {
  local id focused x y w h title
  while read -r id focused x y w h title; do
    [[ ${title,,} =~ ${1,,} ]] && echo "$id"
  done < <(_windows)
}

focus() { swaymsg "[con_id=$1] focus" >/dev/null || fail "could not focus window $1"; }
_has_focus() { _windows | grep -q "^$1 true "; }

# geometry WINDOW: prints "X Y WIDTH HEIGHT" of a window in screen pixels.
geometry() {
  local id focused x y w h title
  while read -r id focused x y w h title; do
    [[ $id == "$1" ]] && echo $((x * scale)) $((y * scale)) $((w * scale)) $((h * scale))
  done < <(_windows)
}

# set_screen_scale N: the output shows N screen pixels to a logical one, as a
# high-density screen does.
set_screen_scale() {
  scale=$1
  swaymsg output "$SWAY_OUTPUT" scale "$1" >/dev/null || fail "sway could not scale its output by $1"
}

screen_shot() { grim -t ppm "$work/$1.ppm" || fail "screenshot $1 failed"; }

# press KEY...: keys as xdotool names them (Return, Escape), one after
# another, to the window that has the keyboard focus.
press() {
  local key keys=()
  for key; do keys+=(-k "$key"); done
  wtype -s "$WTYPE_WARMUP_MS" "${keys[@]}" || fail "wtype could not press $*"
}

type_line() { wtype -s "$WTYPE_WARMUP_MS" "$1" -k Return || fail "wtype could not type $1"; }

# menu_entry MENU ENTRY: Alt+MENU, and once the menu shows, the entry's key;
# sets $keystroke_us to the time of that key. A popup menu is no window in
# sway's tree, so it is watched for on the screen: it drops down over the top
# of the client area in colours that a picture, drawn only in black and
# white, does not bring. The menu closes when the keyboard that opened it
# goes, so one wtype sends both keys, the second read from a pipe once the
# menu shows. wtype ends as soon as it has sent it, so that time is late by a
# few milliseconds at most.
menu_entry() {
  client_shot before-menu
  local keys=$work/menu-keys typist to_typist
  rm -f "$keys"
  mkfifo "$keys" || fail "could not make a pipe for wtype"
  wtype -s "$WTYPE_WARMUP_MS" -M alt -k "$1" -m alt - <"$keys" &
  typist=$!
  exec {to_typist}>"$keys"
  if ! poll 60 _menu_shows; then
    exec {to_typist}>&-
    wait "$typist"
    fail "Alt+$1 did not open its menu (see $work/menu.ppm)"
  fi
  printf '%s' "$2" >&"$to_typist"
  exec {to_typist}>&-
  wait "$typist" || fail "wtype could not press Alt+$1, $2"
  keystroke_us=$(now_us)
}

_menu_shows() {
  client_shot menu
  shows_new_colours "$work/before-menu.ppm" "$work/menu.ppm"
}

# close_window: asks the main window to close as the compositor does when the
# user clicks its close button, and sets $keystroke_us to the time of the
# request.
close_window() {
  keystroke_us=$(now_us)
  swaymsg "[con_id=$main_win] kill" >/dev/null || fail "sway could not close the main window"
}
