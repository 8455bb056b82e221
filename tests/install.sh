#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that the program, its
# manual page, its desktop entry, its AppStream metadata and its icons land
# where desktops and software centres look for them, and that those validate.
# Given a PREFIX that already holds them, as an unpacked package's usr/ does,
# checks that.
# Usage: install.sh BUILD_DIR APPSTREAM_ID [PREFIX]
set -euo pipefail

build_dir=$1 appstream_id=$2 prefix=${3:-}
if [[ -z $prefix ]]; then
  prefix=$(mktemp -d)
  trap 'rm -rf "$prefix"' EXIT
  cmake --install "$build_dir" --prefix "$prefix" >/dev/null
fi

status=0
expect() {
  if [[ -e $prefix/$1 ]]; then echo "installed: $1"; else echo "MISSING: $1"; status=1; fi
}
expect bin/inkpane
expect share/applications/inkpane.desktop
expect share/metainfo/"$appstream_id".metainfo.xml
expect share/doc/inkpane/copyright
expect share/doc/inkpane/changelog.gz
expect share/man/man1/inkpane.1.gz
expect share/icons/hicolor/scalable/apps/inkpane.svg
expect share/icons/hicolor/16x16/apps/inkpane.png
expect share/icons/hicolor/32x32/apps/inkpane.png
expect share/icons/hicolor/48x48/apps/inkpane.png
expect share/icons/hicolor/64x64/apps/inkpane.png
expect share/icons/hicolor/128x128/apps/inkpane.png
expect share/icons/hicolor/256x256/apps/inkpane.png

[[ -x $prefix/bin/inkpane ]] || { echo "bin/inkpane is not executable"; status=1; }
# Started with no graphical session, as over ssh, it says so and ends.
no_display_status=0
no_display_says=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/inkpane" 2>&1) || no_display_status=$?
[[ $no_display_status == 1 && $no_display_says == 'Inkpane needs a graphical session (X11 or Wayland): start it from your desktop.' ]] ||
  { echo "without a display it ended with status $no_display_status, saying: $no_display_says"; status=1; }
grep -qx 'Exec=inkpane' "$prefix/share/applications/inkpane.desktop" || { echo "desktop entry runs something else"; status=1; }
desktop-file-validate "$prefix/share/applications/inkpane.desktop" || { echo "the desktop entry is not valid"; status=1; }
[[ -z $(man --warnings -l "$prefix/share/man/man1/inkpane.1.gz" 2>&1 >/dev/null) ]] || { echo "the manual page has warnings"; status=1; }
appstreamcli validate --no-net "$prefix/share/metainfo/$appstream_id.metainfo.xml" || { echo "the metainfo is not valid"; status=1; }
for size in 16 32 48 64 128 256; do
  actual=$(/usr/bin/identify -format '%wx%h' "$prefix/share/icons/hicolor/${size}x${size}/apps/inkpane.png")
  [[ $actual == "${size}x${size}" ]] || { echo "the ${size}x${size} icon is $actual"; status=1; }
done
exit $status
