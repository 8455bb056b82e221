#!/usr/bin/env bash
# Runs a whole session under strace: start, open a valid picture, open a file
# that is not PBM and dismiss the error, show and dismiss About, Exit. No
# system call of the viewer, or of any process it starts, may create, remove,
# rename or change a file or folder, or open one for writing. The viewer runs
# with an empty home, where Qt's file dialog would keep its history if it were
# ever destroyed, and that home must still be empty at the end. It runs
# without a session bus, as over ssh -X, with dbus-launch at hand, which
# libdbus would start to make one: that writes under ~/.dbus and stays.
# Usage: writes_nothing.sh PATH/TO/inkpane PATH/TO/x11-probe
source "$(dirname "$0")/lib.sh"
gui_init "$@"
for tool in strace dbus-launch; do
  command -v "$tool" >/dev/null || { note "missing tool: $tool"; exit 2; }
done
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS

make_text_image page 117 "Nothing is" "written."
printf 'Not a picture.\n' >"$work/files/notes.pbm"

# Every call that can create, remove, rename or change a file, or open one
# for writing. Only calls that succeeded are logged (-z): a failed mkdir of a
# folder that already exists changes nothing. One log per process (-ff) keeps
# each call on one line.
changing_calls=open,openat,openat2,creat,mkdir,mkdirat,mknod,mknodat,rename,renameat,renameat2
changing_calls+=,unlink,unlinkat,rmdir,link,linkat,symlink,symlinkat,truncate,ftruncate
changing_calls+=,chmod,fchmod,fchmodat,chown,fchown,lchown,fchownat,utime,utimes,utimensat,futimesat
changing_calls+=,setxattr,lsetxattr,fsetxattr,removexattr,lremovexattr,fremovexattr
mkdir "$work/trace"
# -y names the file behind each descriptor.
start_viewer strace -f -ff -y -z -qq --seccomp-bpf -e trace="$changing_calls" -o "$work/trace/call"

step "open page.pbm"
open_by_keyboard "$work/files/page.pbm"
wait_bells 1
step "open notes.pbm"
open_by_keyboard "$work/files/notes.pbm"
wait_window "$ERROR_TITLE" || fail "no window titled Error appeared"
wait_focus "$found" || fail "the error box did not take the keyboard focus"
press Return
wait_window_gone "$ERROR_TITLE" || fail "Return did not dismiss the error box"
wait_bells 2
step "Alt+H, A"
open_about_by_keyboard
press Return
wait_window_gone "$ABOUT_TITLE" || fail "Return did not dismiss the About box"
step "Alt+F, E"
exit_by_keyboard
wait_exit 30000 || fail "the viewer, or a program it started, did not end after Exit"
((viewer_status == 0)) || fail "the viewer (under strace) ended with status $viewer_status"

# The log must show the viewer reading the picture, or it proves nothing.
cat "$work"/trace/call.* | grep -E '^[a-z0-9_]+\(' >"$work/calls"
grep -qF "\"$work/files/page.pbm\", O_RDONLY" "$work/calls" || fail "strace did not see the viewer open page.pbm"

# Opening for reading is allowed; any flag that writes, creates or truncates
# is not. One exception writes no file: memory files (memfd) sized with
# ftruncate, which on Wayland hold the window's pictures and the sounds sent
# to the sound server.
writing_open='O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND|O_TMPFILE'
grep -vE '^(open|openat|openat2)\(' "$work/calls" | grep -vE '^ftruncate\([0-9]+</memfd:' >"$work/changes"
grep -E '^(open|openat|openat2)\(' "$work/calls" | grep -E "$writing_open" >>"$work/changes"
# One exception writes, only where the bell is a sound (Wayland): libpulse,
# the sound server's client library, makes the user's cookie for the server
# when the home has none, as it does in every program that plays a sound; a
# desktop's sound server has mostly made it at login. Nothing in libcanberra's
# interface can tell the library not to.
libpulse_paths=()
if [[ ${INKPANE_GUI_PLATFORM:-} == wayland ]]; then
  libpulse_paths=("$HOME/.config" "$HOME/.config/pulse" "$HOME/.config/pulse/cookie")
  grep -vE "\"$HOME/\.config(/pulse)?\", 0700|$HOME/\.config/pulse/cookie[\">]" "$work/changes" >"$work/changes-kept"
  mv "$work/changes-kept" "$work/changes"
fi
if [[ -s $work/changes ]]; then
  note "system calls that changed files:"
  cat "$work/changes" >&2
  fail "the viewer wrote to the file system"
fi
leftovers=$(find "$HOME" "$XDG_RUNTIME_DIR" -mindepth 1)
for path in "${libpulse_paths[@]}"; do leftovers=$(grep -vxF "$path" <<<"$leftovers"); done
[[ -z $leftovers ]] || fail "the viewer left files behind: $leftovers"
[[ ! -s $work/viewer.out ]] || fail "the viewer wrote to its standard output"
step "ok"
