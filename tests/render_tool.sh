#!/usr/bin/env bash
# Checks inkpane-render's command line: its exit status, what it prints, and
# the PPM it writes. Usage: render_tool.sh [RUNNER...] PATH/TO/inkpane-render
# where RUNNER is what runs the program, such as Wine's wrapper.
set -uo pipefail

render=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0

check() { # NAME EXPECTED ACTUAL
  if [[ $2 == "$3" ]]; then
    passed=$((passed + 1)); echo "ok $1"
  else
    failed=$((failed + 1)); printf 'FAIL %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"
  fi
}

printf 'P1\n2 2\n1 0\n0 1\n' > "$work/diagonal.pbm"
printf 'P4\n10 10\n' > "$work/truncated.pbm"

out=$("${render[@]}" 2>/dev/null); check "no arguments exit 2" 2 $?
for size in 0x5 5x 5 abc x 32769x1 -3x3; do
  "${render[@]}" --size "$size" "$work/diagonal.pbm" "$work/out.ppm" >/dev/null 2>&1
  check "size $size refused" 2 $?
done
"${render[@]}" "$work/diagonal.pbm" "$work/no-such-folder/out.ppm" >/dev/null 2>&1
check "unwritable output exit 2" 2 $?

out=$("${render[@]}" "$work/diagonal.pbm" "$work/diagonal.ppm"); status=$?
check "valid file exit 0" 0 $status
check "valid file prints its refreshes" "refreshes: 1" "$out"
check "valid file pixels" "$(printf 'P6\n2 2\n255\n\0\0\0\377\377\377\377\377\377\0\0\0' | od -An -tx1)" \
  "$(od -An -tx1 "$work/diagonal.ppm")"

"${render[@]}" --size 4x3 "$work/truncated.pbm" "$work/cropped.ppm" >/dev/null
check "surface size crops the output" "P6 4 3 255" "$(head -c 11 "$work/cropped.ppm" | tr '\n' ' ' | sed 's/ $//')"

out=$("${render[@]}" "$work/missing.pbm" "$work/missing.ppm"); status=$?
check "missing input exit 0" 0 $status
# The description after the heading is the system's, and the unit tests
# check it; here only how the tool prints the message counts.
check "missing input messages" \
  "message: Error: There was an error reading the file:\\r\\n…
nothing drawn
refreshes: 0" "$(sed 's/\\r\\n.*/\\r\\n…/' <<<"$out")"
check "missing input writes no file" no "$([[ -e $work/missing.ppm ]] && echo yes || echo no)"

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
