# The session of one GUI test and the viewer's lifecycle: the working folder,
# failing and reporting, polling, and the viewer's start and end. Sourced by
# lib.sh; the window-system verbs it calls (wait_window, focus, geometry,
# open_by_keyboard) come from x11.sh or wayland.sh and windows.sh.

# ImageMagick is called by its full path: a tool of the same name may come
# first in PATH on a developer's machine.
readonly IM_CONVERT=/usr/bin/convert IM_COMPARE=/usr/bin/compare IM_IMPORT=/usr/bin/import

work= viewer= viewer_pid= failed=0
# Set by the helpers: the main window's id, the height of its menu bar, the
# display's scale factor (set by the script before start_viewer), the viewer's
# exit status and when its end was seen, and when the last key that should
# end it was sent.
main_win= menubar_height= scale=1 viewer_status= exited_us= keystroke_us=
# Set by start_viewer: the client area's first size in screen pixels, at the
# scale factor, which may be fractional (Windows at 144 DPI is 1.5). Windows
# rounds half a pixel up.
client_width= client_height=
# How much longer than a program's own work a window may take to go: set by
# a window system whose windows wait on something else to go.
withdraw_allowance_ms=0
# Set by viewer_memory_kb: the viewer's resident memory in kB.
memory_kb=

note() { printf '%s\n' "$*" >&2; }

# Ends the test. The working folder, with every screenshot taken, is kept so
# that a failure can be looked at afterwards; INKPANE_GUI_KEEP=1 in the
# environment keeps it after a success too.
fail() {
  note "FAIL: $*"
  # What the screen showed at the first failure, kept with the rest; in a
  # subshell, where a screenshot that fails only ends the subshell.
  if ((failed == 0)) && [[ -n $work ]]; then
    failed=1
    (screen_shot at-failure)
    _note_viewer_waits
  fi
  failed=1
  exit 1
}

# Where each thread of a viewer still running waits, as the kernel says: a
# window thread held in a file system call shows there, where a screenshot
# cannot tell it from a key that went astray.
_note_viewer_waits() {
  local pid task
  for pid in $viewer_pid $(cat /proc/"$viewer_pid"/task/*/children 2>/dev/null); do
    for task in /proc/"$pid"/task/*; do
      note "   $(cat "$task/comm" 2>/dev/null) ($pid/${task##*/}) waits in $(cat "$task/wchan" 2>/dev/null)"
    done
  done
}

step() { note "-- $*"; }

# Stops a viewer that is still running after a failure. Behind strace, the
# viewer is strace's child and is stopped first: strace, told to stop while it
# traces, may wait for its tracee for ever.
stop_viewer() {
  [[ -n $viewer_pid ]] || return 0
  local child
  for child in $(cat /proc/"$viewer_pid"/task/*/children 2>/dev/null); do kill "$child" 2>/dev/null; done
  kill "$viewer_pid" 2>/dev/null
  poll 10 _exited || kill -KILL "$viewer_pid" 2>/dev/null
  wait "$viewer_pid" 2>/dev/null
  viewer_pid=
}

# Hooks that the window-system file adds to the cleanup, such as stopping a
# helper it started.
cleanup_hooks=()

gui_cleanup() {
  # Only the processes this script started are stopped, each by its own id.
  stop_viewer
  local hook
  for hook in "${cleanup_hooks[@]}"; do "$hook"; done
  if [[ -s $work/viewer.err ]]; then
    note "--- the viewer's standard error:"
    cat "$work/viewer.err" >&2
  fi
  if ((failed == 0)) && [[ -z ${INKPANE_GUI_KEEP:-} ]]; then
    rm -rf "$work"
  else
    note "screenshots and logs kept in $work"
  fi
}

# gui_session VIEWER: checks the tools and makes the working folder, with the
# home and runtime folders the viewer will run with.
gui_session() {
  viewer=$1
  [[ -x $viewer ]] || { note "no viewer at $viewer"; exit 2; }
  local tool
  for tool in "$IM_CONVERT" "$IM_COMPARE" pbmtext pnmpad pamcut pamfile pnmtoplainpnm ppmtoppm; do
    command -v "$tool" >/dev/null || { note "missing tool: $tool"; exit 2; }
  done

  work=$(mktemp -d "${TMPDIR:-/tmp}/inkpane-gui.${INKPANE_GUI_SUITE:-any}.XXXXXX") || exit 2
  trap gui_cleanup EXIT
  # The viewer runs with an empty home and its own runtime folder, as in a
  # fresh desktop session, so that no setting of the developer's can change
  # what it shows, and anything it wrote would be found in one place.
  mkdir -p "$work/home" "$work/files"
  mkdir -m 700 "$work/runtime"
  export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
  unset XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_QPA_PLATFORM
}

now_us() { echo "${EPOCHREALTIME/./}"; }

# poll SECONDS COMMAND...: runs COMMAND every 50 ms until it succeeds or the
# deadline passes; the status says which. Deadlines are generous: on a busy
# machine a single screenshot and comparison can take a second.
poll() {
  local deadline=$(($(now_us) + $1 * 1000000))
  shift
  until "$@"; do
    (($(now_us) < deadline)) || return 1
    sleep 0.05
  done
}

# linger SECONDS: gives something that must not happen (a late second ring, a
# drawing that should stand still) time to happen. This is the one fixed wait:
# an absence can only be watched for a while.
linger() { sleep "$1"; }

# start_viewer [COMMAND_PREFIX...]: starts the viewer as a direct child of this
# script, so that `wait` gives its exit status, optionally behind a prefix
# (`env NAME=VALUE`, `strace ...`) that ends by executing it. Waits for the
# main window, focuses it and measures the menu bar.
start_viewer() {
  read -r client_width client_height < <(awk -v w="$CLIENT_WIDTH" -v h="$CLIENT_HEIGHT" -v scale="$scale" \
    'BEGIN { printf "%d %d\n", w * scale + 0.5, h * scale + 0.5 }')
  "$@" "$viewer" >"$work/viewer.out" 2>"$work/viewer.err" &
  viewer_pid=$!
  wait_window "$MAIN_TITLE" || fail "the main window did not appear"
  main_win=$found
  focus "$main_win"
  local x y w h
  read -r x y w h < <(geometry "$main_win")
  ((w == client_width)) || fail "the window is $w pixels wide, not $client_width"
  menubar_height=$((h - client_height))
  ((menubar_height > 0)) || fail "the window is $h pixels high, which leaves no room for the menu bar"
}

# start_slowed_viewer: start_viewer, with the GUI thread held for 10 ms each
# time it polls for events. The decoder draws a screenful of a large image in
# well under a second, quicker than keys can be sent on a busy machine; it
# lets events run every sixteen rows, so held there it draws at most sixteen
# rows per 10 ms however fast the machine is, and a test has seconds to act in
# the middle of a decode. Without -f strace holds only the GUI thread, not the
# thread that reads from the X server.
start_slowed_viewer() {
  command -v strace >/dev/null || fail "missing tool: strace"
  start_viewer strace -qq -o /dev/null -e trace=poll,ppoll -e inject=poll,ppoll:delay_exit=10000
}

# The viewer has ended: bash reaps it as soon as it ends and keeps its status
# for `wait`, so /proc no longer shows it, or shows it as a zombie for a
# moment (kill -0 would still succeed on a zombie).
_exited() {
  local stat
  { stat=$(<"/proc/$viewer_pid/stat"); } 2>/dev/null || return 0
  stat=${stat##*) }
  [[ ${stat%% *} == Z ]]
}

# wait_exit MILLISECONDS [SINCE_US]: waits for the viewer to end, at most
# MILLISECONDS after the time SINCE_US (by default, now), looking every 20 ms
# so that a short deadline is measured finely. Sets $viewer_status to its exit
# status and $exited_us to when its end was seen. Returns 1 if it did not end
# in time.
wait_exit() {
  local deadline=$((${2:-$(now_us)} + $1 * 1000))
  until _exited; do
    (($(now_us) < deadline)) || return 1
    sleep 0.02
  done
  exited_us=$(now_us)
  wait "$viewer_pid"
  viewer_status=$?
  viewer_pid=
}

_top_left_is_white() {
  client_shot decoding
  [[ $(pixel_colour "$work/decoding.ppm" 0 0) == "$WHITE" ]]
}

# start_large_decode: opens the large image and waits until the viewer is
# drawing it, which shows as white at the top-left of the client area; the
# decode then goes on for seconds.
start_large_decode() {
  make_large_image
  open_by_keyboard "$work/files/large.pbm"
  poll 60 _top_left_is_white || fail "the large image did not start to show"
  expect_bells 0
}

# viewer_memory_kb: sets $memory_kb to the viewer's resident memory.
viewer_memory_kb() {
  memory_kb=$(awk '/^VmRSS:/ { print $2 }' "/proc/$viewer_pid/status") && [[ -n $memory_kb ]] ||
    fail "cannot read the viewer's resident memory"
}

# viewer_open_files NAME: what each of the viewer's file descriptors refers
# to, sorted, one a line, to $work/NAME. Event-loop wakeup handles
# (anon_inode:[eventfd]) are left out: Qt's file dialog starts and ends worker
# threads on its own schedule, each with one, so their number at a given
# moment says nothing about what the viewer keeps open.
viewer_open_files() {
  local fd target targets=()
  [[ -r /proc/$viewer_pid/fd ]] || fail "cannot list the viewer's open files"
  for fd in /proc/"$viewer_pid"/fd/*; do
    target=$(readlink "$fd")
    [[ $target == 'anon_inode:[eventfd]' ]] || targets+=("$target")
  done
  printf '%s\n' "${targets[@]}" | sort >"$work/$1"
}

# expect_bells N: the bell has rung exactly N times since the test began, as
# counted by bell_count.
expect_bells() { (($(bell_count) == $1)) || fail "the bell rang $(bell_count) times, expected $1"; }

_bells_at_least() { (($(bell_count) >= $1)); }

# wait_bells N [SECONDS]: waits until the bell has rung N times in all, and
# fails if it did not or rang more often.
wait_bells() {
  poll "${2:-60}" _bells_at_least "$1" || fail "the bell rang $(bell_count) times, expected $1"
  expect_bells "$1"
}
