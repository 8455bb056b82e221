#!/usr/bin/env bash
# Opens a raw and then a plain PBM through the real file dialog with the
# keyboard alone (Alt+F, O, the path, Return), and checks each time that the
# client area shows netpbm's decode of the file pixel for pixel at the top-left,
# the background colour everywhere else, and that the bell rang once. Then
# cancels the dialog, which leaves the picture and does not ring.
# Usage: open_keyboard.sh PATH/TO/inkpane PATH/TO/x11-probe
source "$(dirname "$0")/lib.sh"
gui_init "$@"

# An odd width, not a multiple of 8, makes the raw rows end in padding bits
# that must not be drawn.
make_text_image page 203 "Bi-level images:" "raw rows end on a" "byte, plain ones run" "on. 0123456789 ,.;:!?"
pnmtoplainpnm "$work/files/page.pbm" >"$work/files/page-plain.pbm" || fail "pnmtoplainpnm failed"
head -c 2 "$work/files/page-plain.pbm" | grep -q P1 || fail "pnmtoplainpnm did not write a plain PBM"

image_size "$work/files/page.pbm"

start_viewer
read_background
expected_client "$work/files/page.pbm" expected
bells=0
for file in page.pbm page-plain.pbm; do
  step "open $file"
  open_by_keyboard "$work/files/$file"
  wait_bells $((++bells))
  expect_client "shown-${file%.pbm}" "$work/expected.ppm"
  expect_background_beyond "$image_width" "$image_height" "shown-${file%.pbm}"
done

step "cancel the dialog"
focus "$main_win"
menu_entry f o
wait_window "$DIALOG_TITLE" || fail "the file dialog did not appear"
wait_focus "$found" || fail "the file dialog did not take the keyboard focus"
press Escape
wait_window_gone "$DIALOG_TITLE" || fail "Escape did not close the file dialog"
expect_client cancelled "$work/expected.ppm"

# A ring that came late, after the picture showed, or one for the cancelled
# dialog would otherwise go unnoticed.
linger 1
expect_bells 2
step "ok"
