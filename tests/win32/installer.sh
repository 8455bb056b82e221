#!/usr/bin/env bash
# Installs Inkpane with its installer, silently, into a Wine prefix of the
# test's own, and checks what a user would find: the program and its read-me
# under Program Files, the Start-menu shortcut, the entry of Apps & features,
# and the installed program starting with its window. Then uninstalls it,
# silently, and checks that all of it is gone. Runs on an X display
# (xvfb-run), so that every Wine program of the prefix shares it.
# Usage: installer.sh PATH/TO/inkpane-VERSION-setup.exe VERSION
set -euo pipefail

setup=$1 version=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/inkpane-installer.XXXXXX")
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
viewer_pid=
cleanup() {
  [[ -z $viewer_pid ]] || kill "$viewer_pid" 2>/dev/null || true
  # Ends every program of this prefix, and its server.
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
now_us() { echo "${EPOCHREALTIME/./}"; }
# poll SECONDS COMMAND...: runs COMMAND every 50 ms until it succeeds or the
# deadline passes.
poll() {
  local deadline=$(($(now_us) + $1 * 1000000))
  shift
  until "$@"; do
    (($(now_us) < deadline)) || return 1
    sleep 0.05
  done
}

folder="$WINEPREFIX/drive_c/Program Files/Inkpane"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Inkpane.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Inkpane'
installed=("$folder/inkpane.exe" "$folder/README.txt" "$folder/uninstall.exe" "$shortcut")

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

echo "-- start the installed program"
wine "$folder/inkpane.exe" >"$work/viewer.out" 2>&1 &
viewer_pid=$!
poll 60 xdotool search --name '^Inkpane 1\.1$' >/dev/null || fail "the installed program showed no window"
kill "$viewer_pid"
wait "$viewer_pid" || true
viewer_pid=

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
