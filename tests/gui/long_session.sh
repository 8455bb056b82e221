#!/usr/bin/env bash
# Opens 300 files in a row through the real file dialog with the keyboard:
# good, bad and truncated ones mixed, each bad one answered by an error box
# that Return dismisses. Every open must end with exactly one ring of the bell.
# At the end the viewer must hold the same open files as after the first
# open, and its resident memory must have grown by less than 2 MiB between
# the 50th and the 300th open. Prints those figures and the time taken.
# Usage: long_session.sh PATH/TO/inkpane PATH/TO/x11-probe
source "$(dirname "$0")/lib.sh"
gui_init "$@"

readonly OPENS=300 MEMORY_FROM=50 MEMORY_GROWTH_LIMIT_KB=2048
started_us=$(now_us)

# The kinds of file, opened in turn. A bad one ends in an error box; the
# truncated ones are finished in white without a word.
kinds=(raw not-pbm raw-cut plain width-out-of-range plain-cut empty out-of-range-mid-raster)
declare -A reported=([not-pbm]=1 [width-out-of-range]=1 [empty]=1 [out-of-range-mid-raster]=1)
make_text_image raw 117 "One of many," "opened in turn."
pnmtoplainpnm "$work/files/raw.pbm" >"$work/files/plain.pbm" || fail "pnmtoplainpnm failed"
head -c 400 "$work/files/raw.pbm" >"$work/files/raw-cut.pbm"
head -c 3000 "$work/files/plain.pbm" >"$work/files/plain-cut.pbm"
printf 'Not a picture.\n' >"$work/files/not-pbm.pbm"
printf 'P4\n40000 1\n\377' >"$work/files/width-out-of-range.pbm"
printf 'P1\n2 2\n1 1\n99999 1\n' >"$work/files/out-of-range-mid-raster.pbm"
: >"$work/files/empty.pbm"

# Every open is of a file of its own, named by its number, so nothing the
# viewer might keep per file name can hide among repeats.
kind_of() { echo "${kinds[($1 - 1) % ${#kinds[@]}]}"; }
mkdir "$work/session"
for ((i = 1; i <= OPENS; i++)); do
  cp "$work/files/$(kind_of "$i").pbm" "$work/session/$i.pbm" || fail "could not copy file $i"
done
last_kind=$(kind_of "$OPENS")
[[ -z ${reported[$last_kind]:-} ]] || fail "the last file must be a picture, not $last_kind"

# The viewer starts in the session folder, where the dialog opens, so a name
# alone is typed, not a long path.
cd "$work/session" || fail "cannot enter $work/session"
start_viewer
read_background
expected_client "$work/files/$last_kind.pbm" expected-last
remember_windows

for ((i = 1; i <= OPENS; i++)); do
  kind=$(kind_of "$i")
  step "open $i: $kind"
  quick_open_by_keyboard "$i.pbm"
  # An error box after a good file would hold back the bell, and wait_bells
  # would fail.
  [[ -n ${reported[$kind]:-} ]] && quick_dismiss_error
  wait_bells "$i"
  ((i == 1)) && viewer_open_files open-files-first
  ((i == MEMORY_FROM)) && viewer_memory_kb && memory_from_kb=$memory_kb
done
viewer_open_files open-files-last
viewer_memory_kb

expect_client shown-last "$work/expected-last.ppm"
linger 1
expect_bells "$OPENS"

step "open files after open 1: $(wc -l <"$work/open-files-first"), after open $OPENS: $(wc -l <"$work/open-files-last")"
diff "$work/open-files-first" "$work/open-files-last" >&2 ||
  fail "the viewer's open files changed between open 1 and open $OPENS"
growth_kb=$((memory_kb - memory_from_kb))
step "resident memory at open $MEMORY_FROM: $memory_from_kb kB, at open $OPENS: $memory_kb kB, growth $growth_kb kB"
((growth_kb < MEMORY_GROWTH_LIMIT_KB)) || fail "resident memory grew by $growth_kb kB, $MEMORY_GROWTH_LIMIT_KB kB allowed"
step "$OPENS opens in $((($(now_us) - started_us) / 1000000)) s"
step "ok"
