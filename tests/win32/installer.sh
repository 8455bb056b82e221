#!/usr/bin/env bash
# Installs Inkpane with its installer, silently, into a Wine prefix of the
# test's own, and checks what a user would find: the program, its read-me and
# its licence under Program Files, the Start-menu shortcut, the entry of Apps &
# features, and the installed program opening images as a user opens them (the
# GUI script open_keyboard.sh, run on the installed program). While the
# installed program runs, started by Run Inkpane on the installer's last page,
# neither the uninstaller nor the installer changes anything, and both fail.
# Then uninstalls it, silently, and checks that all of it is gone. Runs on an
# X display (xvfb-run), so that every Wine program of the prefix shares it.
# Usage: installer.sh PATH/TO/inkpane-VERSION-setup.exe VERSION PATH/TO/x11-probe
set -euo pipefail

setup=$1 version=$2 probe=$3
here=$(dirname "$0")
work=$(mktemp -d "${TMPDIR:-/tmp}/inkpane-gui.${INKPANE_GUI_SUITE:-any}.installer.XXXXXX")
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  # Ends every program of this prefix, and its server.
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
folder="$WINEPREFIX/drive_c/Program Files/Inkpane"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Inkpane.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Inkpane'
installed=("$folder/inkpane.exe" "$folder/README.txt" "$folder/LICENSE.txt" "$folder/uninstall.exe" "$shortcut")

wineboot -i >/dev/null 2>&1 || fail "wineboot could not prepare the prefix"

echo "-- install"
wine "$setup" /S || fail "the installer failed"
for file in "${installed[@]}"; do
  [[ -f $file ]] || fail "not installed: $file"
done

# What Apps & features shows: each value's type and data, or, for the size
# and the publisher, only that there is one.
wine reg query "$key" /reg:64 | tr -d '\r' >"$work/key" || fail "the uninstall key is missing"
while read -r name type data; do
  actual=$(awk -v name="$name" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }' "$work/key")
  grep -Eq "^ +$name +$type( |$)" "$work/key" || fail "$name is not a $type: $(grep "^ *$name " "$work/key")"
  [[ $data == '*' && -n $actual || $actual == "$data" ]] || fail "$name is '$actual', not '$data'"
done <<TABLE
DisplayName REG_SZ Inkpane
DisplayVersion REG_SZ $version
Publisher REG_SZ *
DisplayIcon REG_SZ C:\\Program Files\\Inkpane\\inkpane.exe,0
UninstallString REG_SZ "C:\\Program Files\\Inkpane\\uninstall.exe"
EstimatedSize REG_DWORD *
NoModify REG_DWORD 0x1
NoRepair REG_DWORD 0x1
TABLE

echo "-- open images with the installed program"
# The GUI script runs the program in a copy of this prefix, which holds the
# registry as Wine writes it out when the prefix's server ends.
timeout 60 wineserver -w || fail "Wine did not end after the install: did the silent install start Inkpane?"
INKPANE_GUI_PLATFORM=wine INKPANE_WINE_TEMPLATE=$WINEPREFIX \
  bash "$here/../gui/open_keyboard.sh" "$folder/inkpane.exe" "$probe" || fail "the installed program failed to open images"

echo "-- install through the pages, and start Inkpane with Run Inkpane on the last"
wine "$setup" & setup_run=$!
# Each page's default button, once it shows; the title keeps a blank caption's space.
for button in '&Next >' '&Install' '&Finish'; do
  timeout 60 sh -c 'until wine "$0" texts "Inkpane Setup " 2>/dev/null | grep -qx "$1"; do :; done' "$INKPANE_WINDOW_PROBE" "$button"$'\r' ||
    fail "the installer showed no $button"
  xdotool search --name '^Inkpane Setup $' windowfocus --sync key Return
done
window=$(timeout 60 xdotool search --sync --onlyvisible --classname '^inkpane\.exe$') || fail "Run Inkpane started no Inkpane"

echo "-- uninstall and install while Inkpane runs"
find "${installed[@]}" -printf '%p %s %T@\n' >"$work/before"
# NSIS's way to learn an uninstaller's status: a copy run outside the folder
# with _?= and the folder unquoted, as cmd passes it. A refusal is an abort, 2.
cp "$folder/uninstall.exe" "$WINEPREFIX/drive_c/windows/temp/"
for command in 'C:\windows\temp\uninstall.exe /S _?=C:\Program Files\Inkpane' "Z:${setup//\//\\} /S"; do
  status=0 && wine cmd /c "$command" || status=$?
  ((status == 2)) && find "${installed[@]}" -printf '%p %s %T@\n' | cmp -s - "$work/before" &&
    wine reg query "$key" /reg:64 >/dev/null || fail "$command, while Inkpane ran, changed files or the key, or ended with $status"
done
kill "$(xdotool getwindowpid "$window")"; wait "$setup_run" && timeout 60 wineserver -w || fail "the installer failed, or Inkpane did not end"

echo "-- uninstall"
wine "$folder/uninstall.exe" /S || fail "the uninstaller failed"
# The uninstaller runs on from a copy in the temporary folder, so that it can
# delete itself; it is done when the last program of the prefix has ended.
timeout 120 wineserver -w || fail "the uninstaller did not end"
for file in "${installed[@]}" "$folder"; do
  [[ ! -e $file ]] || fail "left behind: $file"
done
if wine reg query "$key" /reg:64 >/dev/null 2>&1; then fail "the uninstall key is left behind"; fi
echo "-- ok"
