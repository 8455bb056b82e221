#!/usr/bin/env bash
# Builds the Debian package of this build with CPack, unpacks it with
# dpkg-deb -x into a scratch folder, checks that it holds every file and
# declares what it needs, and runs the unpacked program: it starts and opens
# an image, pixel for pixel.
# Usage: package.sh PATH/TO/inkpane PATH/TO/x11-probe BUILD_DIR APPSTREAM_ID
source "$(dirname "$0")/lib.sh"
build_dir=${3:?give the build folder} appstream_id=${4:?give the AppStream id}
gui_init "$1" "$2"

step "cpack -G DEB"
cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$work/package" >"$work/cpack.log" 2>&1 ||
  fail "cpack failed: $(tail -n 5 "$work/cpack.log")"
deb=("$work"/package/inkpane_*.deb)
[[ -f ${deb[0]} ]] || fail "cpack made no inkpane_*.deb"
dpkg-deb -x "${deb[0]}" "$work/root" || fail "dpkg-deb could not unpack ${deb[0]}"

for file in usr/bin/inkpane usr/share/applications/inkpane.desktop "usr/share/metainfo/$appstream_id.metainfo.xml" \
  usr/share/icons/hicolor/16x16/apps/inkpane.xpm usr/share/icons/hicolor/32x32/apps/inkpane.xpm \
  usr/share/doc/inkpane/copyright usr/share/doc/inkpane/changelog.gz; do
  [[ -f $work/root/$file ]] || fail "the package lacks $file"
done
depends=$(dpkg-deb -f "${deb[0]}" Depends)
for library in libqt6widgets6 libcanberra0; do
  [[ $depends == *"$library "* ]] || fail "the package does not depend on $library: $depends"
done
recommends=$(dpkg-deb -f "${deb[0]}" Recommends)
[[ $recommends == 'qt6-wayland, libcanberra-pulse, sound-theme-freedesktop' ]] ||
  fail "the package recommends '$recommends'"

make_text_image page 117 "Unpacked" "and shown."
viewer=$work/root/usr/bin/inkpane
start_viewer
read_background
expected_client "$work/files/page.pbm" expected
step "open page.pbm in the unpacked program"
open_by_keyboard "$work/files/page.pbm"
wait_bells 1
expect_client shown "$work/expected.ppm"
step "ok"
