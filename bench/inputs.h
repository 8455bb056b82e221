#pragma once

#include <array>
#include <string_view>

namespace inkpane::bench {

// A file that bench/make-inputs.sh writes into the input folder: its name
// there, and the words the figures are printed under.
struct Input {
  std::string_view name;
  std::string_view label;
};

inline constexpr Input kA4Raw{"a4-raw.pbm", "A4 page, 300 dpi, raw P4"};
inline constexpr Input kA4PlainNetpbm{"a4-plain-netpbm.pbm", "A4 page, plain P1 as netpbm writes it (unseparated)"};
inline constexpr Input kA4PlainMagick{"a4-plain-imagemagick.pbm",
                                      "A4 page, plain P1 as ImageMagick writes it (spaced)"};
inline constexpr Input kDitherRaw{"dither-raw.pbm", "A4 dithered page, raw P4"};
inline constexpr Input kDitherPlainNetpbm{"dither-plain-netpbm.pbm", "A4 dithered page, plain P1 as netpbm writes it"};
inline constexpr Input kDitherPlainMagick{"dither-plain-imagemagick.pbm",
                                          "A4 dithered page, plain P1 as ImageMagick writes it"};
inline constexpr Input kSquare{"square-10000.pbm", "10000x10000, raw P4"};
inline constexpr Input kWidePlain{"wide-plain.pbm", "32767 wide, plain P1 (spaced)"};
inline constexpr Input kWideRaw{"wide-raw.pbm", "32767 wide, raw P4"};

inline constexpr Input kLongWhitespace{"long-whitespace.pbm", "3 GB of whitespace after P1 (sparse)"};
inline constexpr Input kLongRun{"long-run.pbm", "400 MB plain raster on one line"};
inline constexpr Input kLongComment{"long-comment.pbm", "400 MB comment"};
inline constexpr Input kLongNumber{"long-number.pbm", "400 MB header number"};

inline constexpr std::array kTimedInputs = {
    kA4Raw, kA4PlainNetpbm, kA4PlainMagick, kDitherRaw, kDitherPlainNetpbm, kDitherPlainMagick, kSquare};
inline constexpr std::array kResponsivenessInputs = {kWidePlain, kWideRaw,     kLongWhitespace,
                                                     kLongRun,   kLongComment, kLongNumber};

}  // namespace inkpane::bench
