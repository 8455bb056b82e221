#!/usr/bin/env bash
# Makes the benchmark's input files in FOLDER from the A4 page of page.sh, with
# netpbm (and ImageMagick for its own plain form), and the files of one long
# stretch with coreutils, so that none is stored.
# inkpane-bench and bench/run know them by these names. Usage: make-inputs.sh FOLDER
set -euo pipefail

folder=$1
here=$(dirname "$0")

# The wide files are as tall as makes each decode last a few tenths of a
# second: enough refresh intervals (every 16 rows) for the longest to show,
# while the three decodes of each stay within seconds. A spaced plain row takes
# the decoder many times longer than a raw one, so that file is shorter.
wide=32767
wide_plain_rows=512
wide_raw_rows=4096

"$here/page.sh" > "$folder/a4-raw.pbm"
# A halftone: a dithered grey page, whose pixels change about every other
# one, unlike the long runs of a page of text.
pgmnoise -randomseed=5 155 220 | pamscale -xsize 2480 -ysize 3508 | pamditherbw -floyd | pamtopnm \
  > "$folder/dither-raw.pbm"
for page in a4 dither; do
  pamtopnm -plain "$folder/$page-raw.pbm" > "$folder/$page-plain-netpbm.pbm"
  /usr/bin/convert "$folder/$page-raw.pbm" -compress none "$folder/$page-plain-imagemagick.pbm"
done
pnmtile 10000 10000 "$folder/a4-raw.pbm" > "$folder/square-10000.pbm"
pnmtile 32767 32767 "$folder/a4-raw.pbm" > "$folder/big-32767.pbm"
pnmtile "$wide" "$wide_raw_rows" "$folder/a4-raw.pbm" > "$folder/wide-raw.pbm"
# ImageMagick writes no image wider than its policy's 16K pixels, so the
# spaced plain form, the slowest plain form to decode, is netpbm's with a space
# put after every digit of the raster (which starts on the third line).
pnmtile "$wide" "$wide_plain_rows" "$folder/a4-raw.pbm" | pamtopnm -plain |
  sed '3,$ s/[01]/& /g' > "$folder/wide-plain.pbm"

# Files of one long stretch, on which memory and the time between event
# processing must stay as small as on any other: whitespace (NUL bytes, made
# by truncate without writing them), a plain raster written on one line, a
# comment and a header number (zeros before the 2), with a small image after
# the last two.
printf 'P1' > "$folder/long-whitespace.pbm"
truncate -s 3G "$folder/long-whitespace.pbm"
{
  printf 'P1 20000 20000\n'
  # Read through a process substitution, whose status pipefail does not see:
  # yes ends on a broken pipe once head has what it wants.
  head -c 400000000 < <(yes 0110 | tr -d '\n')
  printf '\n'
} > "$folder/long-run.pbm"
{
  printf 'P1\n#'
  head -c 400000000 /dev/zero | tr '\0' 'x'
  printf '\n2 1\n1 0\n'
} > "$folder/long-comment.pbm"
{
  printf 'P1\n'
  head -c 400000000 /dev/zero | tr '\0' '0'
  printf '2 1\n1 0\n'
} > "$folder/long-number.pbm"
