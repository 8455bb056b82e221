#!/usr/bin/env bash
# Times the Windows build's inkpane-render.exe under Wine beside the Linux
# build's inkpane-render on the same files: the A4 page of text raw and in both
# plain layouts, and the 32767x32767 raw image, each decoded onto a 64x64
# surface. The two programs run by turns; each one's start-up, the median of
# its runs on a 1x1 image, is taken off the median of its runs on each file, so
# that what is compared is the decode. Prints both, their ratio and the
# target's verdict.
# Exits non-zero when either program fails on a file.
# Usage: windows.sh PATH/TO/inkpane-render PATH/TO/inkpane-render.exe [FOLDER]
# FOLDER holds the files as bench/make-inputs.sh names them; without it, they
# are made in a temporary folder.
set -euo pipefail

linux_render=$1 windows_render=$2
runs=21
target=1.5
work=$(mktemp -d)
folder=${3:-$work}

# A Wine prefix of the benchmark's own, whose server stays up for the whole
# run (-p), so that each start of the program costs the same; it is ended with
# the prefix's programs when the benchmark ends.
export WINEPREFIX=$work/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir "$WINEPREFIX"
wineserver -p
wineboot -i >/dev/null 2>&1

if [[ -z ${3:-} ]]; then
  "$(dirname "$0")/page.sh" > "$folder/a4-raw.pbm"
  pamtopnm -plain "$folder/a4-raw.pbm" > "$folder/a4-plain-netpbm.pbm"
  /usr/bin/convert "$folder/a4-raw.pbm" -compress none "$folder/a4-plain-imagemagick.pbm"
  pnmtile 32767 32767 "$folder/a4-raw.pbm" > "$folder/big-32767.pbm"
fi
printf 'P4\n1 1\n\x80' > "$work/one-pixel.pbm"

median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }

# run_us PROGRAM FILE: runs one decode and prints how long it took in
# microseconds; fails when the program fails or reports a message box.
run_us() {
  local start=$EPOCHREALTIME end
  if [[ $1 == *.exe ]]; then
    wine "$1" --size 64x64 "$2" "$work/out.ppm" > "$work/out.txt"
  else
    "$1" --size 64x64 "$2" "$work/out.ppm" > "$work/out.txt"
  fi
  end=$EPOCHREALTIME
  if ! grep -q '^refreshes:' "$work/out.txt" || grep -q '^message:' "$work/out.txt"; then
    echo "windows.sh: $1 failed on $2: $(tr -d '\r' < "$work/out.txt" | paste -s -d ';')" >&2
    return 1
  fi
  echo $((${end/./} - ${start/./}))
}

# time_both FILE: sets linux_us and windows_us to the two programs' decode
# times of FILE: the median of their runs on it, less the median of their runs
# on the 1x1 image, all four made by turns in each round, so that a change in
# the machine's load weighs on all of them alike.
time_both() {
  local linux=() windows=() linux_start=() windows_start=() _
  for _ in $(seq "$runs"); do
    linux+=("$(run_us "$linux_render" "$1")")
    windows+=("$(run_us "$windows_render" "$1")")
    linux_start+=("$(run_us "$linux_render" "$work/one-pixel.pbm")")
    windows_start+=("$(run_us "$windows_render" "$work/one-pixel.pbm")")
  done
  linux_start_us=$(median "${linux_start[@]}") windows_start_us=$(median "${windows_start[@]}")
  linux_us=$(($(median "${linux[@]}") - linux_start_us)) windows_us=$(($(median "${windows[@]}") - windows_start_us))
}

ms() { awk -v us="$1" 'BEGIN { printf "%.1f", us / 1000 }'; }

# Wine's own services are still starting after wineboot: a few runs first let
# them settle.
for _ in 1 2 3; do run_us "$windows_render" "$work/one-pixel.pbm" > /dev/null; done

echo "Windows build under Wine $(wine --version | sed 's/^wine-//') beside the Linux build: inkpane-render --size 64x64,"
echo "median of $runs runs by turns, less each program's start-up (the median of as many runs on a 1x1 image)"
printf '%-28s %10s %10s %12s %7s %20s\n' "file" "bytes" "Linux" "Windows" "ratio" "start-up Linux/Wine"
for name in a4-raw a4-plain-netpbm a4-plain-imagemagick big-32767; do
  file=$folder/$name.pbm
  time_both "$file"
  ratio=$(awk -v w="$windows_us" -v l="$linux_us" 'BEGIN { printf "%.2f", w / l }')
  verdict=$(awk -v r="$ratio" -v t="$target" 'BEGIN { print (r <= t ? "met" : "NOT MET") }')
  printf '%-28s %10s %7s ms %9s ms %7s %9s /%5s ms  target <= %s: %s\n' "$name.pbm" "$(stat -c %s "$file")" \
    "$(ms "$linux_us")" "$(ms "$windows_us")" "$ratio" "$(ms "$linux_start_us")" "$(ms "$windows_start_us")" \
    "$target" "$verdict"
done
