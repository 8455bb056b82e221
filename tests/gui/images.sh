# Pictures for the GUI tests and what the screen shows of them: test images
# made with netpbm, what the client area should show, and comparisons of
# screenshots with ImageMagick. Sourced by lib.sh; screenshots come from
# client_shot in x11.sh.

# Set by the helpers: the count of differing pixels of the last comparison,
# the count of pixels of one colour, the client area's background colour, the
# size of the last image measured.
diff= count= background= image_width= image_height=
# The background colour seen at the previous look, while read_background waits.
_background_seen=

# crop IN GEOMETRY NAME: a rectangle of an image, to $work/NAME.ppm.
crop() { "$IM_CONVERT" "$1" -crop "$2" +repage "$work/$3.ppm" || fail "cropping $1 to $2 failed"; }

unique_colours() { "$IM_CONVERT" "$1" -format '%k' info:; }
pixel_colour() { "$IM_CONVERT" "$1" -format "%[pixel:p{$2,$3}]" info:; }

# compare_images A B: sets $diff to the number of pixels in which two images
# of the same size differ at all.
compare_images() {
  local out
  out=$("$IM_COMPARE" -precision 16 -metric AE "$1" "$2" null: 2>&1)
  (($? <= 1)) || fail "comparing $1 with $2: $out"
  diff=${out%% *}
}

same_image() { compare_images "$1" "$2" && [[ $diff == 0 ]]; }

# count_pixels IMAGE COLOUR: sets $count to how many pixels of the image are
# exactly of that colour.
count_pixels() {
  local width height
  read -r width height < <("$IM_CONVERT" "$1" -format '%w %h\n' info:)
  "$IM_CONVERT" -size "${width}x$height" "xc:$2" "$work/solid.ppm" || fail "could not make a $2 image"
  compare_images "$1" "$work/solid.ppm"
  count=$((width * height - diff))
}

# The client area shows the viewer's own background: one colour, the same in
# two screenshots in a row. A window that was just mapped or enlarged shows
# the X server's unpainted black until the viewer paints it, so neither black
# nor white, the colours a picture is drawn in, is taken for the background.
_client_shows_background() {
  client_shot empty
  local colour
  colour=$(pixel_colour "$work/empty.ppm" 0 0)
  if [[ $(unique_colours "$work/empty.ppm") != 1 || $colour == "$BLACK" || $colour == "$WHITE" ]]; then
    _background_seen=
    return 1
  fi
  [[ $colour == "$_background_seen" ]] && return 0
  _background_seen=$colour
  return 1
}

# read_background: waits until the viewer has painted the whole client area
# in its background colour and sets $background to it. Run it before any image
# is opened, and again after the window is resized.
read_background() {
  _background_seen=
  poll 120 _client_shows_background ||
    fail "the empty client area did not come to show one colour of the viewer's own (see $work/empty.ppm)"
  background=$_background_seen
  step "the empty client area is $background"
}

# expected_client PBM NAME: what the client area should show, to
# $work/NAME.ppm: the image at the top-left, one image pixel on one screen
# pixel, and the background colour everywhere else. netpbm decodes the image,
# independently of the viewer.
expected_client() {
  local width=$client_width height=$client_height
  ppmtoppm <"$1" >"$work/$2-netpbm.ppm" || fail "netpbm could not read $1"
  "$IM_CONVERT" -size "${width}x$height" "xc:$background" "$work/$2-netpbm.ppm" -geometry +0+0 -composite \
    "$work/$2.ppm" || fail "could not compose the expected client area $2"
}

_client_matches() {
  client_shot "$1"
  same_image "$2" "$work/$1.ppm"
}

# expect_client NAME EXPECTED: the client area must come to show exactly the
# image EXPECTED. It is screenshotted again until it does or a deadline
# passes, because the area that a closing dialog uncovers is repainted a
# moment later.
expect_client() {
  diff=unknown
  poll 60 _client_matches "$1" "$2" ||
    fail "$1: the client area differs from $2 in $diff pixels (see $work/$1.ppm)"
}

# expect_background_beyond WIDTH HEIGHT NAME: the column just right of an
# image of that size and the row just below it show the background colour,
# so the viewer drew nothing beyond the image's edges. Looks at the last
# screenshot of the client area, $work/NAME.ppm.
expect_background_beyond() {
  local strip
  for strip in "1x$(($2 + 1))+$1+0" "$(($1 + 1))x1+0+$2"; do
    crop "$work/$3.ppm" "$strip" "$3-edge"
    [[ $(unique_colours "$work/$3-edge.ppm") == 1 && $(pixel_colour "$work/$3-edge.ppm" 0 0) == "$background" ]] ||
      fail "$3: the strip $strip beside the image is not all background"
  done
}

# shows_new_colours BEFORE AFTER: whether a pixel that differs between two
# screenshots of one area is now neither black nor white, so that something
# other than a picture's drawing, which only ever sets those two, has come to
# show there.
shows_new_colours() {
  local changed
  changed=$("$IM_CONVERT" "$1" "$2" -compose difference -composite -grayscale Rec709Luma -threshold 0 \
    \( "$2" -fill black -opaque white -grayscale Rec709Luma -threshold 0 \) \
    -compose multiply -composite -format '%[max]' info:) || fail "comparing $1 with $2 failed"
  [[ $changed != 0 ]]
}

# image_size FILE: sets $image_width and $image_height from a netpbm header.
image_size() {
  read -r image_width image_height < <(pamfile -size "$1") && [[ -n $image_height ]] ||
    fail "pamfile could not read the size of $1"
}

# make_text_image NAME WIDTH LINE...: a framed page of text from pbmtext, as a
# raw PBM of exactly WIDTH columns, to $work/files/NAME.pbm. The text is
# padded inside the frame to that width; lines too long for it are cut.
make_text_image() {
  local name=$1 inner=$(($2 - 2)) file=$work/files/$1.pbm
  shift 2
  printf '%s\n' "$@" | pbmtext -builtin fixed | pnmpad -white -left 6 -right 6 -top 4 -bottom 4 >"$file.text" ||
    fail "pbmtext failed"
  local have
  read -r have _ < <(pamfile -size "$file.text")
  if ((have < inner)); then
    pnmpad -white -right $((inner - have)) "$file.text"
  else
    pamcut -width "$inner" "$file.text" | pamtopnm
  fi | pnmpad -black -left 1 -right 1 -top 1 -bottom 1 >"$file" || fail "could not make $name $2 columns wide"
  rm -f "$file.text"
}

# make_large_image: a raw PBM of the largest size with no raster at all, to
# $work/files/large.pbm. The viewer draws every one of its pixels, white past
# the end of the file, which takes seconds.
make_large_image() { printf 'P4\n32767 32767\n' >"$work/files/large.pbm"; }
