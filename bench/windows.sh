#!/usr/bin/env bash
# Times the Windows build's inkpane-render.exe under Wine beside the Linux
# build's inkpane-render on the same files, each decoded onto a 64x64 surface:
# A4 pages of text raw, plain as netpbm writes it and plain with spaced
# digits, and the 32767x32767 raw image. The two programs run by turns, and
# each one's start-up, its run on a 1x1 image, is taken off, so that what is
# compared is the decode. Prints both, their ratio and the target's verdict.
# Exits non-zero when either program fails on a file.
# Usage: windows.sh PATH/TO/inkpane-render PATH/TO/inkpane-render.exe [FOLDER]
# FOLDER holds a4-raw.pbm and big-32767.pbm as bench/make-inputs.sh makes
# them; without it, they are made here.
set -euo pipefail

linux_render=$1 windows_render=$2
runs=15
target=1.5
work=$(mktemp -d)
folder=${3:-$work}

# A Wine prefix of the benchmark's own. Once wineboot's programs have all
# ended, its server is started again to stay up for the whole run (-p), so
# that each start of the program costs the same; it is ended with the
# prefix's programs when the benchmark ends.
export WINEPREFIX=$work/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
wineboot -i >/dev/null 2>&1
wineserver -w
wineserver -p

if [[ -z ${3:-} ]]; then
  "$(dirname "$0")/page.sh" > "$folder/a4-raw.pbm"
  pnmtile 32767 32767 "$folder/a4-raw.pbm" > "$folder/big-32767.pbm"
fi
# A decode of one A4 page takes a few milliseconds, while Wine's start-up
# takes some 40 and varies by several from run to run: so the pages are nine
# A4 pages one under the other (2480x31572), which is as much work as nine
# decodes of one. ImageMagick writes no image taller than its policy's 16K
# pixels, so the spaced plain form is netpbm's with a space after every digit.
pages=$work/a4x9
pnmtile 2480 $((9 * 3508)) "$folder/a4-raw.pbm" > "$pages-raw.pbm"
pamtopnm -plain "$pages-raw.pbm" > "$pages-plain-netpbm.pbm"
sed '3,$ s/[01]/& /g' "$pages-plain-netpbm.pbm" > "$pages-plain-spaced.pbm"
printf 'P4\n1 1\n\x80' > "$work/one-pixel.pbm"

median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }

# run_us PROGRAM FILE: runs one decode and prints how long it took in
# microseconds; fails when the program fails or reports a message box.
# Wine starts a program about twice as slowly (85 ms against 45 ms here)
# within some 0.2 s of the end of the one before, a wait rather than work, so
# each run under Wine starts a quarter of a second after the run before it.
run_us() {
  local start end
  if [[ $1 == *.exe ]]; then
    sleep 0.25
    start=$EPOCHREALTIME
    wine "$1" --size 64x64 "$2" "$work/out.ppm" > "$work/out.txt"
  else
    start=$EPOCHREALTIME
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
# times of FILE, and linux_start_us and windows_start_us to their start-up
# times. Each round runs the two programs by turns on FILE and on the 1x1
# image; a decode time is a run on FILE less the run on the 1x1 image of the
# same round, so that a change in the machine's load between rounds weighs on
# both alike. Each time is the median of its rounds.
time_both() {
  local linux=() windows=() linux_start=() windows_start=() _ l w ls ws
  for _ in $(seq "$runs"); do
    l=$(run_us "$linux_render" "$1")
    w=$(run_us "$windows_render" "$1")
    ls=$(run_us "$linux_render" "$work/one-pixel.pbm")
    ws=$(run_us "$windows_render" "$work/one-pixel.pbm")
    linux+=($((l - ls))) windows+=($((w - ws))) linux_start+=("$ls") windows_start+=("$ws")
  done
  linux_us=$(median "${linux[@]}") windows_us=$(median "${windows[@]}")
  linux_start_us=$(median "${linux_start[@]}") windows_start_us=$(median "${windows_start[@]}")
}

ms() { awk -v us="$1" 'BEGIN { printf "%.1f", us / 1000 }'; }

# The first start brings up Wine's services and fills the caches: a few runs
# first, untimed.
for _ in 1 2 3 4 5; do run_us "$windows_render" "$work/one-pixel.pbm" > /dev/null; done

echo "Windows build under Wine $(wine --version | sed 's/^wine-//') beside the Linux build: inkpane-render --size 64x64,"
echo "median of $runs runs by turns, each less the same program's start-up (its run on a 1x1 image in the same turn)"
printf '%-28s %10s %10s %12s %7s %20s\n' "file" "bytes" "Linux" "Windows" "ratio" "start-up Linux/Wine"
for file in "$pages-raw.pbm" "$pages-plain-netpbm.pbm" "$pages-plain-spaced.pbm" "$folder/big-32767.pbm"; do
  time_both "$file"
  # On a busy machine the start-up can vary by more than a small decode takes.
  if ((linux_us > 0 && windows_us > 0)); then
    ratio=$(awk -v w="$windows_us" -v l="$linux_us" 'BEGIN { printf "%.2f", w / l }')
    verdict=$(awk -v r="$ratio" -v t="$target" 'BEGIN { print (r <= t ? "met" : "NOT MET") }')
  else
    ratio=- verdict="not measured: the start-up varied more than the decode took"
  fi
  printf '%-28s %10s %7s ms %9s ms %7s %9s /%5s ms  target <= %s: %s\n' "$(basename "$file")" "$(stat -c %s "$file")" \
    "$(ms "$linux_us")" "$(ms "$windows_us")" "$ratio" "$(ms "$linux_start_us")" "$(ms "$windows_start_us")" \
    "$target" "$verdict"
done
