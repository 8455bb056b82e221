# Helpers shared by the GUI test scripts, which drive the built viewer in a
# real X window through the keyboard and the mouse, as a user would.
#
# A script sources this file and calls `gui_init VIEWER PROBE` with the paths
# of the viewer and of x11-probe. Each script runs under its own Xvfb server
# (started by xvfb-run), so every window found on the display is ours.
#
# There is no window manager under Xvfb: nothing gives a window the keyboard
# focus when it is mapped or clicked, so the scripts do that themselves where
# a desktop would. The viewer's modal dialogs take the focus on their own.
#
# Nothing here sleeps for a fixed time to let the program catch up: every wait
# polls for what it waits for, with a deadline, so a slow or busy machine only
# makes the tests slower.
#
# A failure inside a command substitution would only end that subshell, so the
# helpers that can fail never print their results: they write files with names
# the caller chooses ($work/NAME.ppm) or set the variables named below.

set -uo pipefail

readonly CLIENT_WIDTH=449 CLIENT_HEIGHT=343
readonly MAIN_TITLE='^Inkpane 1\.1$' DIALOG_TITLE='^Select a PBM Image$'
readonly ERROR_TITLE='^Error$' ABOUT_TITLE='^About\.\.\.$'
readonly WHITE='srgb(255,255,255)'
# ImageMagick is called by its full path: a tool of the same name may come
# first in PATH on a developer's machine.
readonly IM_CONVERT=/usr/bin/convert IM_COMPARE=/usr/bin/compare IM_IMPORT=/usr/bin/import

work= viewer= probe= viewer_pid= probe_pid= failed=0
# Set by the helpers: the main window's id, the height of its menu bar, the
# display's scale factor (set by the script before start_viewer), the window
# found by the last wait, the count of differing pixels of the last
# comparison, the client area's background colour, the viewer's exit status.
main_win= menubar_height= scale=1 found= diff= background= viewer_status=
image_width= image_height= keystroke_us= exited_us= count=

note() { printf '%s\n' "$*" >&2; }

# Ends the test. The working folder, with every screenshot taken, is kept so
# that a failure can be looked at afterwards; INKPANE_GUI_KEEP=1 in the
# environment keeps it after a success too.
fail() {
  failed=1
  note "FAIL: $*"
  exit 1
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

gui_cleanup() {
  # Only the processes this script started are stopped, each by its own id.
  stop_viewer
  if [[ -n $probe_pid ]]; then
    kill "$probe_pid" 2>/dev/null
    wait "$probe_pid" 2>/dev/null
  fi
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

# gui_init VIEWER PROBE: sets up the session (gui_session) and starts
# listening for the bell.
gui_init() {
  (($# == 2)) || { note "usage: $0 PATH/TO/inkpane PATH/TO/x11-probe"; exit 2; }
  probe=$2
  [[ -x $probe ]] || { note "no x11-probe at $probe"; exit 2; }
  gui_session "$1"
  "$probe" bells >"$work/bells" 2>"$work/probe.err" &
  probe_pid=$!
  poll 10 grep -q listening "$work/probe.err" || fail "x11-probe did not start listening for the bell"
}

# gui_session VIEWER: checks the tools and makes the working folder, with the
# home and runtime folders the viewer will run with.
gui_session() {
  viewer=$1
  [[ -x $viewer ]] || { note "no viewer at $viewer"; exit 2; }
  [[ -n ${DISPLAY:-} ]] || { note "no DISPLAY: run this under xvfb-run"; exit 2; }
  local tool
  for tool in xdotool xwininfo "$IM_CONVERT" "$IM_COMPARE" "$IM_IMPORT" pbmtext pnmpad pamcut pamfile pnmtoplainpnm ppmtoppm; do
    command -v "$tool" >/dev/null || { note "missing tool: $tool"; exit 2; }
  done

  work=$(mktemp -d "${TMPDIR:-/tmp}/inkpane-gui.XXXXXX") || exit 2
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
# deadline passes; the status says which.
poll() {
  local deadline=$(($(now_us) + $1 * 1000000))
  shift
  until "$@"; do
    (($(now_us) < deadline)) || return 1
    sleep 0.05
  done
}

# The ids of the visible windows whose title matches an extended regex (which
# xdotool matches without regard to case).
visible_windows() { xdotool search --onlyvisible --name "$1" 2>/dev/null; }
window_visible() { [[ -n $(visible_windows "$1") ]]; }
_first_visible() { found=$(visible_windows "$1" | head -n 1) && [[ -n $found ]]; }
_none_visible() { ! window_visible "$1"; }

# wait_window REGEX [SECONDS]: waits for a visible window whose title matches
# and sets $found to its id.
wait_window() { found= && poll "${2:-30}" _first_visible "$1"; }
wait_window_gone() { poll "${2:-30}" _none_visible "$1"; }

# focus WINDOW: gives a window the keyboard focus, as a window manager does
# when the user clicks into it. xdotool waits for the focus to arrive; the
# timeout keeps a focus that never arrives from holding the test until
# ctest's deadline.
focus() { timeout 15 xdotool windowfocus --sync "$1" || fail "could not focus window $1"; }

_has_focus() { [[ $(xdotool getwindowfocus 2>/dev/null) == "$1" ]]; }
wait_focus() { poll "${2:-30}" _has_focus "$1"; }

# geometry WINDOW: prints "X Y WIDTH HEIGHT" of a window in screen pixels.
geometry() {
  xwininfo -id "$1" | awk '
    /Absolute upper-left X:/ { x = $NF }
    /Absolute upper-left Y:/ { y = $NF }
    /^ *Width:/ { w = $NF }
    /^ *Height:/ { h = $NF }
    END { print x, y, w, h }'
}

# A popup menu shows as the one visible override-redirect window: Qt maps it
# itself, without asking a window manager, and gives it no useful title.
_one_popup() {
  local id popups=()
  for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' && popups+=("$id")
  done
  ((${#popups[@]} == 1)) && found=${popups[0]}
}
# wait_popup [SECONDS]: waits for a popup menu and sets $found to its id.
wait_popup() { found= && poll "${1:-30}" _one_popup; }

# start_viewer [COMMAND_PREFIX...]: starts the viewer as a direct child of this
# script, so that `wait` gives its exit status, optionally behind a prefix
# (`env NAME=VALUE`, `strace ...`) that ends by executing it. Waits for the
# main window, focuses it and measures the menu bar.
start_viewer() {
  "$@" "$viewer" >"$work/viewer.out" 2>"$work/viewer.err" &
  viewer_pid=$!
  wait_window "$MAIN_TITLE" || fail "the main window did not appear"
  main_win=$found
  focus "$main_win"
  local x y w h
  read -r x y w h < <(geometry "$main_win")
  ((w == CLIENT_WIDTH * scale)) || fail "the window is $w pixels wide, not $((CLIENT_WIDTH * scale))"
  menubar_height=$((h - CLIENT_HEIGHT * scale))
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

# The client area of the main window in screen pixels, as WIDTHxHEIGHT+X+Y:
# all of the window under the menu bar.
client_geometry() {
  local x y w h
  read -r x y w h < <(geometry "$main_win")
  echo "${w}x$((h - menubar_height))+$x+$((y + menubar_height))"
}

# screen_shot NAME: the whole screen, to $work/NAME.ppm. -silent keeps import
# from ringing the bell, which the tests count.
screen_shot() { "$IM_IMPORT" -silent -window root "$work/$1.ppm" || fail "screenshot $1 failed"; }

# crop IN GEOMETRY NAME: a rectangle of an image, to $work/NAME.ppm.
crop() { "$IM_CONVERT" "$1" -crop "$2" +repage "$work/$3.ppm" || fail "cropping $1 to $2 failed"; }

# client_shot NAME: the client area alone, to $work/NAME.ppm.
client_shot() {
  local geometry
  geometry=$(client_geometry)
  screen_shot "$1-screen"
  crop "$work/$1-screen.ppm" "$geometry" "$1"
}

unique_colours() { "$IM_CONVERT" "$1" -format '%k' info:; }
pixel_colour() { "$IM_CONVERT" "$1" -format "%[pixel:p{$2,$3}]" info:; }

# count_pixels IMAGE COLOUR: sets $count to how many pixels of the image are
# exactly of that colour.
count_pixels() {
  local width height
  read -r width height < <("$IM_CONVERT" "$1" -format '%w %h\n' info:)
  "$IM_CONVERT" -size "${width}x$height" "xc:$2" "$work/solid.ppm" || fail "could not make a $2 image"
  compare_images "$1" "$work/solid.ppm"
  count=$((width * height - diff))
}

# compare_images A B: sets $diff to the number of pixels in which two images
# of the same size differ at all.
compare_images() {
  local out
  out=$("$IM_COMPARE" -precision 16 -metric AE "$1" "$2" null: 2>&1)
  (($? <= 1)) || fail "comparing $1 with $2: $out"
  diff=${out%% *}
}

same_image() { compare_images "$1" "$2" && [[ $diff == 0 ]]; }

_client_of_one_colour() {
  client_shot empty
  [[ $(unique_colours "$work/empty.ppm") == 1 ]]
}

# read_background: waits until the whole client area shows a single colour
# and sets $background to it. Run before any image is opened, it finds the
# colour that the viewer shows where there is no image. A window that was
# just mapped or resized is painted a moment later, hence the wait.
read_background() {
  poll 15 _client_of_one_colour || fail "the empty client area is not of one colour (see $work/empty.ppm)"
  background=$(pixel_colour "$work/empty.ppm" 0 0)
  step "the empty client area is $background"
}

# expected_client PBM NAME: what the client area should show, to
# $work/NAME.ppm: the image at the top-left, one image pixel on one screen
# pixel, and the background colour everywhere else. netpbm decodes the image,
# independently of the viewer.
expected_client() {
  local width=$((CLIENT_WIDTH * scale)) height=$((CLIENT_HEIGHT * scale))
  ppmtoppm <"$1" >"$work/$2-netpbm.ppm" || fail "netpbm could not read $1"
  "$IM_CONVERT" -size "${width}x$height" "xc:$background" "$work/$2-netpbm.ppm" -geometry +0+0 -composite \
    "$work/$2.ppm" || fail "could not compose the expected client area $2"
}

_client_matches() {
  client_shot "$1"
  same_image "$2" "$work/$1.ppm"
}

# expect_client NAME EXPECTED: the client area must come to show exactly the
# image EXPECTED. It is screenshotted again until it does or a deadline
# passes, because the area that a closing dialog uncovers is repainted a
# moment later.
expect_client() {
  diff=unknown
  poll 15 _client_matches "$1" "$2" ||
    fail "$1: the client area differs from $2 in $diff pixels (see $work/$1.ppm)"
}

# expect_background_beyond WIDTH HEIGHT NAME: the column just right of an
# image of that size and the row just below it show the background colour,
# so the viewer drew nothing beyond the image's edges. Looks at the last
# screenshot of the client area, $work/NAME.ppm.
expect_background_beyond() {
  local strip
  for strip in "1x$(($2 + 1))+$1+0" "$(($1 + 1))x1+0+$2"; do
    crop "$work/$3.ppm" "$strip" "$3-edge"
    [[ $(unique_colours "$work/$3-edge.ppm") == 1 && $(pixel_colour "$work/$3-edge.ppm" 0 0) == "$background" ]] ||
      fail "$3: the strip $strip beside the image is not all background"
  done
}

# open_by_mouse PATH: clicks File in the menu bar and Open in its menu, then
# types the path into the file dialog and presses Return.
open_by_mouse() {
  local x y w h
  read -r x y w h < <(geometry "$main_win")
  # The File menu is the first in the bar, so a point a dozen pixels from the
  # bar's left end and halfway down lies on its title whatever the font.
  xdotool mousemove --sync $((x + 12 * scale)) $((y + menubar_height / 2)) click 1
  wait_popup || fail "clicking File did not open its menu"
  read -r x y w h < <(geometry "$found")
  # Open is the first of the menu's two entries, above the separator and
  # Exit: a quarter of the way down the menu is on it.
  xdotool mousemove --sync $((x + w / 2)) $((y + h / 4)) click 1
  type_path_in_dialog "$1"
}

# linger SECONDS: gives something that must not happen (a late second ring, a
# drawing that should stand still) time to happen. This is the one fixed wait:
# an absence can only be watched for a while.
linger() { sleep "$1"; }

bell_count() { grep -c . "$work/bells"; }
_bells_at_least() { (($(bell_count) >= $1)); }

# expect_bells N: the bell has rung exactly N times since the test began.
expect_bells() { (($(bell_count) == $1)) || fail "the bell rang $(bell_count) times, expected $1"; }

# wait_bells N [SECONDS]: waits until the bell has rung N times in all, and
# fails if it did not or rang more often.
wait_bells() {
  poll "${2:-30}" _bells_at_least "$1" || fail "the bell rang $(bell_count) times, expected $1"
  expect_bells "$1"
}

# open_by_keyboard PATH: Alt+F, O, the path typed into the file dialog's name
# box and Return, as a user of the keyboard does it.
open_by_keyboard() {
  focus "$main_win"
  xdotool key alt+f
  wait_popup || fail "Alt+F did not open the File menu"
  xdotool key o
  type_path_in_dialog "$1"
}

# type_path_in_dialog PATH: the file dialog must appear with the focus in it;
# the path is typed into its name box, which has the focus, and accepted.
type_path_in_dialog() {
  wait_window "$DIALOG_TITLE" || fail "the file dialog did not appear"
  wait_focus "$found" || fail "the file dialog did not take the keyboard focus"
  xdotool type --delay 5 "$1"
  xdotool key Return
  wait_window_gone "$DIALOG_TITLE" || fail "the file dialog did not close after Return"
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

# open_about_by_keyboard: Alt+H, A; sets $found to the About box.
open_about_by_keyboard() {
  focus "$main_win"
  xdotool key alt+h
  wait_popup || fail "Alt+H did not open the Help menu"
  xdotool key a
  wait_window "$ABOUT_TITLE" || fail "no window titled About... appeared"
}

# exit_by_keyboard: Alt+F, E, and sets $keystroke_us to the time of the E.
exit_by_keyboard() {
  focus "$main_win"
  xdotool key alt+f
  wait_popup || fail "Alt+F did not open the File menu"
  keystroke_us=$(now_us)
  xdotool key e
}

# image_size FILE: sets $image_width and $image_height from a netpbm header.
image_size() {
  read -r image_width image_height < <(pamfile -size "$1") && [[ -n $image_height ]] ||
    fail "pamfile could not read the size of $1"
}

# make_text_image NAME WIDTH LINE...: a framed page of text from pbmtext, as a
# raw PBM of exactly WIDTH columns, to $work/files/NAME.pbm. The text is
# padded inside the frame to that width; lines too long for it are cut.
make_text_image() {
  local name=$1 inner=$(($2 - 2)) file=$work/files/$1.pbm
  shift 2
  printf '%s\n' "$@" | pbmtext -builtin fixed | pnmpad -white -left 6 -right 6 -top 4 -bottom 4 >"$file.text" ||
    fail "pbmtext failed"
  local have
  read -r have _ < <(pamfile -size "$file.text")
  if ((have < inner)); then
    pnmpad -white -right $((inner - have)) "$file.text"
  else
    pamcut -width "$inner" "$file.text" | pamtopnm
  fi | pnmpad -black -left 1 -right 1 -top 1 -bottom 1 >"$file" || fail "could not make $name $2 columns wide"
  rm -f "$file.text"
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
  poll 30 _top_left_is_white || fail "the large image did not start to show"
  expect_bells 0
}

# make_large_image: a raw PBM of the largest size with no raster at all, to
# $work/files/large.pbm. The viewer draws every one of its pixels, white past
# the end of the file, which takes seconds.
make_large_image() { printf 'P4\n32767 32767\n' >"$work/files/large.pbm"; }

# The helpers below serve tests that open hundreds of files. On a busy machine
# every run of xdotool or xwininfo costs tens of milliseconds, so each wait
# polls with a single run, and a step is not watched where the X server's
# ordering of one client's requests already proves it: the viewer hides its
# file dialog and its error box before it draws and rings the bell, so once
# the bell has rung they are gone.

# Set by the helpers below: the windows visible when remember_windows ran, and
# the viewer's resident memory in kB.
known_windows= memory_kb=

# remember_windows: notes the windows visible now, so that a popup menu shows
# as the one new visible window. Run it with no menu, dialog or box open.
remember_windows() { known_windows=" $(visible_windows '' | tr '\n' ' ') "; }
_new_window() {
  local id
  for id in $(visible_windows ''); do
    [[ $known_windows == *" $id "* ]] || { found=$id && return 0; }
  done
  return 1
}

_focus_named() { [[ $(xdotool getwindowfocus getwindowname 2>/dev/null) =~ $1 ]]; }
# wait_focus_named REGEX [SECONDS]: waits until the window with the keyboard
# focus has a title that matches.
wait_focus_named() { poll "${2:-30}" _focus_named "$1"; }

# quick_open_by_keyboard NAME: open_by_keyboard in fewer runs of xdotool,
# after remember_windows; the dialog is left to vanish on its own.
quick_open_by_keyboard() {
  timeout 15 xdotool windowfocus --sync "$main_win" key alt+f || fail "could not focus the window and press Alt+F"
  poll 30 _new_window || fail "Alt+F did not open the File menu"
  xdotool key o
  wait_focus_named "$DIALOG_TITLE" || fail "the file dialog did not appear with the keyboard focus"
  xdotool type --delay 5 "$1"
  xdotool key Return
}

# quick_dismiss_error: waits for the error box to take the focus and presses
# Return; the box is left to vanish on its own.
quick_dismiss_error() {
  wait_focus_named "$ERROR_TITLE" || fail "no error box took the keyboard focus"
  xdotool key Return
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
