# The Windows build's window under Wine, on the X display of xvfb-run. Wine
# shows each top-level window as an X window of its own with its caption as
# its name, its menus as override-redirect windows, and rings the X bell for
# the beep, so x11.sh's verbs serve; this file overrides only what differs.
# Sourced by lib.sh when INKPANE_GUI_PLATFORM is wine.
#
# Each script runs the viewer in a Wine prefix of its own: a copy of the
# prepared prefix named by INKPANE_WINE_TEMPLATE, or, without one, a prefix
# made fresh (about ten seconds). Wine's own servers for that prefix are
# ended with `wineserver -k` at the end of the script.
#
# Wine takes its windows for managed ones: it leaves their caption and
# borders to a window manager, so the X window is the menu bar over the
# client area, as with Qt, and it asks the window manager to activate a new
# dialog. There is none under Xvfb, so the script gives the X focus itself
# where a desktop would, once Windows says the window has the focus, and keys
# reach the window Wine has made active.
#
# What Windows itself says of its windows (the foreground window and its
# focus, the texts of a box's controls) comes from window-probe.exe, built
# with the program and named by INKPANE_WINDOW_PROBE, run beside the viewer.

source "$gui_lib/x11.sh"

# Wine hides a window it takes for a managed one by asking the window manager
# to withdraw it, and waits up to two seconds for the answer, which under
# Xvfb, with no window manager, never comes.
withdraw_allowance_ms=2000

# x11.sh's session, kept under another name to be built on.
eval "_x11_$(declare -f gui_init)"

# gui_init WINDOWS_VIEWER PROBE: the X session of x11.sh, with the viewer run
# through wine in a prefix of the script's own. INKPANE_WINE_SCALE in the
# environment (1.5 for 144 DPI) sets the screen's scale before anything runs.
gui_init() {
  (($# == 2)) || { note "usage: $0 PATH/TO/inkpane.exe PATH/TO/x11-probe"; exit 2; }
  local tool
  for tool in wine wineboot wineserver; do
    command -v "$tool" >/dev/null || { note "missing tool: $tool"; exit 2; }
  done
  window_probe=${INKPANE_WINDOW_PROBE:-}
  [[ -f $window_probe ]] || { note "no window-probe.exe at '$window_probe' (INKPANE_WINDOW_PROBE)"; exit 2; }
  _x11_gui_init "$@"
  # Without the overrides, preparing a prefix waits for ever on a dialog that
  # offers to install .NET and an HTML engine.
  export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
  cleanup_hooks+=(_stop_wine)
  _make_prefix
  # The viewer is started as a program of its own, which becomes wine and
  # then the Windows program in one process, so its id and exit status are
  # the viewer's.
  printf '#!/bin/sh\nexec wine %q\n' "$viewer" >"$work/inkpane-under-wine"
  chmod +x "$work/inkpane-under-wine"
  viewer=$work/inkpane-under-wine
  [[ -z ${INKPANE_WINE_SCALE:-} ]] || set_screen_scale "$INKPANE_WINE_SCALE"
}

# The copy shares the template's files through hard links where it can,
# which costs no room, but has registry files of its own, which Wine changes.
_make_prefix() {
  local template=${INKPANE_WINE_TEMPLATE:-}
  if [[ -n $template ]]; then
    [[ -f $template/system.reg ]] || fail "no prepared Wine prefix at $template"
    cp -a --link "$template" "$WINEPREFIX" 2>/dev/null || cp -a "$template" "$WINEPREFIX" ||
      fail "could not copy the Wine prefix $template"
    cp --remove-destination "$template"/*.reg "$WINEPREFIX/" || fail "could not copy the registry of $template"
  else
    step "make a Wine prefix"
    wineboot -i >"$work/wineboot.log" 2>&1 || fail "wineboot could not make a prefix (see $work/wineboot.log)"
  fi
  # A server started without the viewer's display must be gone before the
  # viewer starts.
  wineserver -w
}

_stop_wine() {
  [[ -n ${WINEPREFIX:-} && -d $WINEPREFIX ]] || return 0
  wineserver -k 2>/dev/null
  wineserver -w
}

# set_screen_scale N: Windows scales by N, as on a high-density screen: the
# screen's DPI becomes 96 times N (144 for 1.5), which the viewer reads when
# it starts.
set_screen_scale() {
  scale=$1
  local dpi
  dpi=$(awk -v scale="$1" 'BEGIN { printf "%d", 96 * scale + 0.5 }')
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >"$work/reg.log" 2>&1 ||
    fail "could not set the DPI to $dpi (see $work/reg.log)"
  wineserver -w
}

# Windows must say that the window, found by its title, is the foreground
# window and holds the keyboard focus; the X focus, which a window manager
# would give it, then follows.
_has_focus() {
  local title
  title=$(xdotool getwindowname "$1" 2>/dev/null) || return 1
  [[ $(wine "$window_probe" focus 2>/dev/null | tr -d '\r') == "$title" ]] || return 1
  [[ $(xdotool getwindowfocus 2>/dev/null) == "$1" ]] || timeout 30 xdotool windowfocus --sync "$1" 2>/dev/null
}

# expect_window_text TITLE REGEX: a line of a control of the top-level window
# titled exactly TITLE, as Windows reads the controls' texts, matches the
# extended regex.
expect_window_text() {
  wine "$window_probe" texts "$1" 2>/dev/null | tr -d '\r' >"$work/texts.txt" || fail "Windows has no window titled $1"
  grep -Eq "$2" "$work/texts.txt" || fail "no line of the window titled $1 matches $2; it says: $(cat "$work/texts.txt")"
}

# type_line TEXT: types the text, an absolute path in its Windows form on
# Wine's drive Z:, and Return.
type_line() {
  local text=$1
  [[ $text == /* ]] && text="Z:${text//\//\\}"
  xdotool type --delay 5 "$text"
  xdotool key Return
}
