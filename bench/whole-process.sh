#!/usr/bin/env bash
# Times whole-process decodes: inkpane-render onto a 64x64 surface beside
# netpbm's pamtopnm writing to /dev/null, run by turns, and prints the median
# of seven runs of each and their ratio, beside the ratio's target when one is
# given. Without files it makes an A4 page of text at 300 dpi as raw PBM, as
# netpbm writes it plain (digits without separators) and as ImageMagick
# writes it plain (spaced digits), and times those.
# Usage: whole-process.sh PATH/TO/inkpane-render [FILE TARGET]...
# (TARGET: the highest ratio allowed, or - for none)
set -euo pipefail

render=$1
shift
runs=7
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if (($# == 0)); then
  "$(dirname "$0")/page.sh" > "$work/page-raw.pbm"
  pamtopnm -plain "$work/page-raw.pbm" > "$work/page-plain-netpbm.pbm"
  /usr/bin/convert "$work/page-raw.pbm" -compress none "$work/page-plain-imagemagick.pbm"
  set -- "$work/page-raw.pbm" - "$work/page-plain-netpbm.pbm" - "$work/page-plain-imagemagick.pbm" -
fi

now_ns() { date +%s%N; }
median() { printf '%s\n' "$@" | sort -n | sed -n "$(((runs + 1) / 2))p"; }

printf '%-32s %10s %16s %12s %7s\n' "file" "bytes" "inkpane-render" "pamtopnm" "ratio"
while (($# >= 2)); do
  path=$1 target=$2
  shift 2
  ours=() theirs=()
  for _ in $(seq "$runs"); do
    start=$(now_ns)
    "$render" --size 64x64 "$path" "$work/out.ppm" > /dev/null
    middle=$(now_ns)
    pamtopnm "$path" > /dev/null
    end=$(now_ns)
    ours+=($(((middle - start) / 1000)))
    theirs+=($(((end - middle) / 1000)))
  done
  our_us=$(median "${ours[@]}") their_us=$(median "${theirs[@]}")
  ratio=$(awk -v a="$our_us" -v b="$their_us" 'BEGIN { printf "%.2f", a / b }')
  verdict=
  if [[ $target != - ]]; then
    verdict=$(awk -v r="$ratio" -v t="$target" 'BEGIN { print (r <= t ? "met" : "NOT MET") }')
    verdict="  target <= $target: $verdict"
  fi
  printf '%-32s %10s %13.1f ms %9.1f ms %7s%s\n' "$(basename "$path")" "$(stat -c %s "$path")" \
    "$(awk -v us="$our_us" 'BEGIN { print us / 1000 }')" "$(awk -v us="$their_us" 'BEGIN { print us / 1000 }')" \
    "$ratio" "$verdict"
done
