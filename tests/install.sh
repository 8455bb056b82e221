#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that the program, its
# desktop entry and its icons land where desktops look for them.
set -euo pipefail

build_dir=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build_dir" --prefix "$prefix" >/dev/null

status=0
expect() {
  if [[ -e $prefix/$1 ]]; then echo "installed: $1"; else echo "MISSING: $1"; status=1; fi
}
expect bin/inkpane
expect share/applications/inkpane.desktop
expect share/icons/hicolor/16x16/apps/inkpane.xpm
expect share/icons/hicolor/32x32/apps/inkpane.xpm

[[ -x $prefix/bin/inkpane ]] || { echo "bin/inkpane is not executable"; status=1; }
grep -qx 'Exec=inkpane' "$prefix/share/applications/inkpane.desktop" || { echo "desktop entry runs something else"; status=1; }
for size in 16 32; do
  actual=$(/usr/bin/identify -format '%wx%h' "$prefix/share/icons/hicolor/${size}x${size}/apps/inkpane.xpm")
  [[ $actual == "${size}x${size}" ]] || { echo "the ${size}x${size} icon is $actual"; status=1; }
done
exit $status
