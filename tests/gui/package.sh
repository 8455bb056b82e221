#!/usr/bin/env bash
# Builds the Debian package of this build with CPack, unpacks it with
# dpkg-deb -x into a scratch folder, checks that it holds every file, depends
# on the libraries it links and passes lintian and hardening-check, and runs
# the unpacked program: it starts and opens an image, pixel for pixel.
# Usage: package.sh PATH/TO/inkpane PATH/TO/x11-probe BUILD_DIR APPSTREAM_ID
source "$(dirname "$0")/lib.sh"
build_dir=${3:?give the build folder} appstream_id=${4:?give the AppStream id}
gui_init "$1" "$2"

step "cpack -G DEB"
# CPack gives the package's folders the modes the umask leaves; lintian
# checks for Debian's.
(umask 022 && cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$work/package") >"$work/cpack.log" 2>&1 ||
  fail "cpack failed: $(tail -n 5 "$work/cpack.log")"
deb=("$work"/package/inkpane_*.deb)
[[ -f ${deb[0]} ]] || fail "cpack made no inkpane_*.deb"
dpkg-deb -x "${deb[0]}" "$work/root" || fail "dpkg-deb could not unpack ${deb[0]}"

# The package holds what `cmake --install` installs, checked as the install
# test checks it.
bash "$(dirname "$0")/../install.sh" "$build_dir" "$appstream_id" "$work/root/usr" >"$work/contents.log" 2>&1 ||
  fail "the unpacked package: $(grep -v '^installed:' "$work/contents.log")"
depends=$(dpkg-deb -f "${deb[0]}" Depends)
for library in libqt6widgets6 libcanberra0; do
  [[ $depends == *"$library "* ]] || fail "the package does not depend on $library: $depends"
done

# Debian's own checkers find nothing to say, at any level, and the program has
# the hardening of Debian's packages. hardening-check cannot show two features
# here: fortified calls need a buffer whose size is known when compiled, which
# this program has none of (the package tells lintian so), and Debian 12's C
# start files carry no control-flow protection mark, so no program linked
# with them does.
step "lintian and hardening-check"
lintian -I --pedantic "${deb[0]}" >"$work/lintian.log" 2>&1 || fail "lintian failed: $(tail -n 5 "$work/lintian.log")"
tags=$(grep -E '^[EWI]: ' "$work/lintian.log") && fail "lintian says: $tags"
hardening-check --nofortify --nocfprotection "$work/root/usr/bin/inkpane" >"$work/hardening.log" 2>&1 ||
  fail "hardening-check: $(cat "$work/hardening.log")"

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
