#!/usr/bin/env bash
# Times Open of the A4 page in the real window, filling a 1920x1080 screen of
# its own X server (Xvfb), beside its floor: an offscreen decode of the same
# file and the repaints the open cannot do without, timed by turns with the
# opens in several rounds and judged on the rounds' median.
# Usage: bench/window.sh BUILD_DIR
set -euo pipefail

build=$1
here=$(dirname "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$here/page.sh" > "$work/a4-raw.pbm"
# Qt's note that it made its own runtime folder is left out of the figures.
XDG_RUNTIME_DIR=$work xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" \
  "$build/inkpane-window-bench" "$work/a4-raw.pbm"
