#!/usr/bin/env bash
# Renders valid PBM files with inkpane-render and compares the result pixel for pixel with netpbm's own decode.
# Usage: bash tests/conformance.sh [RUNNER...] PATH/TO/inkpane-render PATH/TO/shared/corpus/peers
# where RUNNER is what runs the program, such as Wine's wrapper.
set -euo pipefail

(($# >= 2)) || { echo "usage: conformance.sh [RUNNER...] INKPANE_RENDER PEERS_DIR" >&2; exit 2; }
render=("${@:1:$#-1}")
peers=${!#}
# A stand-in named convert may come earlier in PATH, so ImageMagick is called by its full path.
magick=/usr/bin/convert

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

passed=0
failed=0

# Every file handed to check is valid, so inkpane-render must draw exactly what ppmtoppm produces and show no message.
check() {
  local name=$1 file=$2 ref=$work/ref.ppm out=$work/out.ppm log=$work/log reason='' w h
  rm -f "$out"
  if ! ppmtoppm < "$file" > "$ref" 2> "$log"; then
    reason="netpbm cannot decode the test file: $(head -n 1 "$log")"
  else
    # The surface is sized from netpbm's header plus a margin, because a larger one only slows the run and a
    # smaller one would clip the image.
    { read -r _; read -r w h; } < "$ref"
    if ! "${render[@]}" --size "$((w + 8))x$((h + 8))" "$file" "$out" > "$log" 2>&1; then
      reason="inkpane-render failed: $(tail -n 1 "$log")"
    elif grep -q '^message:' "$log"; then
      reason="unexpected $(grep -m 1 '^message:' "$log")"
    elif [[ ! -f $out ]]; then
      reason="no output written ($(head -n 1 "$log"))"
    elif ! cmp -s "$ref" "$out"; then
      reason="pixels differ from ppmtoppm ($(cmp "$ref" "$out" 2>&1 || true))"
    fi
  fi
  if [[ -z $reason ]]; then
    echo "ok $name"
    passed=$((passed + 1))
  else
    echo "FAIL $name: $reason"
    failed=$((failed + 1))
  fi
}

# CI must provide the peer files, so their absence is an error rather than a reason to skip.
if [[ ! -d $peers ]]; then
  echo "FAIL peers: directory $peers is missing" >&2
  exit 1
fi
mapfile -t peer_files < <(find "$peers" -type f \( -name '*.pbm' -o -name '*.pnm' \) | sort)
if ((${#peer_files[@]} == 0)); then
  echo "FAIL peers: no *.pbm or *.pnm file under $peers" >&2
  exit 1
fi
for f in "${peer_files[@]}"; do
  check "peer ${f#"$peers"/}" "$f"
done

# variants SOURCE WRITER... writes SOURCE in each named form and checks every result. netpbm's plain form has no
# separators between digits; ImageMagick's spaces them, breaks lines of more than about 2 KB away from row ends,
# and writes the comment set here into the header of both of its forms.
variants() {
  local source=$1 base out writer
  base=$(basename "$source" .pbm)
  shift
  for writer in "$@"; do
    out=$work/$base-$writer.pbm
    case $writer in
      netpbm-raw) pamtopnm < "$source" > "$out" ;;
      netpbm-plain) pamtopnm -plain < "$source" > "$out" ;;
      magick-raw) "$magick" "$source" -set comment 'written by ImageMagick' "$out" ;;
      magick-plain) "$magick" "$source" -set comment 'written by ImageMagick' -compress none "$out" ;;
    esac
    check "$base $writer" "$out"
  done
}

# Sources cover widths on and off byte boundaries, a single column and row, text-like shapes and random content.
src=$work/src
mkdir "$src"
pbmmake -white 1 1 > "$src/white-1x1.pbm"
pbmmake -black 7 3 > "$src/black-7x3.pbm"
pbmmake -gray 9 5 > "$src/gray-9x5.pbm"
pbmmake -gray 13 11 > "$src/gray-13x11.pbm"
pbmmake -white 16 2 > "$src/white-16x2.pbm"
pbmnoise -randomseed=1 1 40 > "$src/noise-1x40.pbm"
pbmnoise -randomseed=2 71 1 > "$src/noise-71x1.pbm"
pbmnoise -randomseed=3 200 37 > "$src/noise-200x37.pbm"
pbmnoise -randomseed=4 1101 5 > "$src/noise-1101x5.pbm"
pgmnoise -randomseed=5 129 65 | pamditherbw -threshold > "$src/dither-129x65.pbm"
printf 'Inkpane\nviews PBM files,\nplain and raw.\n' | pbmtext > "$src/text.pbm"
printf 'Odd widths\nare the usual case.\n' | pbmtext -builtin fixed > "$src/text-fixed.pbm"
for s in "$src"/*.pbm; do
  variants "$s" netpbm-raw netpbm-plain magick-raw magick-plain
done
# ImageMagick takes seconds over the large image and adds nothing the smaller ones miss, so only netpbm writes it.
pbmnoise -randomseed=6 2003 2001 > "$work/noise-2003x2001.pbm"
variants "$work/noise-2003x2001.pbm" netpbm-raw netpbm-plain

# Header variants that writers and hand editors produce. A raw header ends with exactly one whitespace byte after
# the height, so after a CR LF the LF is already raster; netpbm reads it so, and Inkpane is held to the same.
hand=(
  'crlf-header-raw|P4\r\n10 2\r\xff\xc0\x80\x40'
  'crlf-header-raw-lf-in-raster|P4\r\n10 2\r\n\xff\xc0\x80'
  'crlf-everywhere-plain|P1\r\n3 2\r\n101\r\n010\r\n'
  'crlf-comment-plain|P1\r\n# c\r\n3 2\r\n1 0 1\r\n0 1 0\r\n'
  'comment-after-magic-plain|P1\n# c\n3 2\n101\n010\n'
  'comment-after-magic-raw|P4\n# c\n3 2\n\xa0\x40'
  'comment-between-width-height-plain|P1\n3 # c\n2\n101\n010\n'
  'comment-between-width-height-raw|P4\n3 # c\n2\n\xa0\x40'
  'comment-line-in-plain-raster|P1\n3 2\n101\n# c\n010\n'
  'comment-line-mid-row-in-plain-raster|P1\n3 2\n10\n# c\n1\n010\n'
  'one-line-plain-no-final-newline|P1 3 2 1 0 1 0 1 0'
)
for entry in "${hand[@]}"; do
  name=${entry%%|*}
  printf '%b' "${entry#*|}" > "$work/$name.pbm"
  check "$name" "$work/$name.pbm"
done

echo "$passed passed, $failed failed"
((failed == 0))
