#!/usr/bin/env bash
# Times whole-process decodes of an A4 page: inkpane-render beside netpbm's
# pamtopnm, on the page as raw PBM, as netpbm writes it plain (digits without
# separators) and as ImageMagick writes it plain (spaced digits). Prints the
# median of five runs of each. Usage: whole-process.sh PATH/TO/inkpane-render
set -euo pipefail

render=$1
runs=5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$(dirname "$0")/page.sh" > "$work/page-raw.pbm"
pamtopnm -plain "$work/page-raw.pbm" > "$work/page-plain-netpbm.pbm"
/usr/bin/convert "$work/page-raw.pbm" -compress none "$work/page-plain-imagemagick.pbm"

median_ms() { # COMMAND...: the median wall time of $runs runs, in milliseconds
  local times=()
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    "$@" > /dev/null
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"
}

printf '%-28s %10s %16s %14s\n' "file" "bytes" "inkpane-render" "pamtopnm"
for file in page-raw page-plain-netpbm page-plain-imagemagick; do
  path="$work/$file.pbm"
  ours=$(median_ms "$render" --size 2480x3508 "$path" "$work/out.ppm")
  theirs=$(median_ms pamtopnm "$path")
  printf '%-28s %10s %13s ms %11s ms\n' "$file" "$(stat -c %s "$path")" "$ours" "$theirs"
done
