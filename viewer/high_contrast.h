#pragma once

#include <cstdint>

#include "decoder/decoding_steps.h"

namespace inkpane {

// A pixel of the persistent image as high contrast shows it, the same on every
// system: the decoder's black and white take the theme's colours for text and
// for what text stands on; any other colour, the background, stays as it is.
// The colour is in the low 24 bits, as both systems' images keep it.
constexpr std::uint32_t InHighContrast(std::uint32_t pixel, std::uint32_t black, std::uint32_t white) {
  const Colour colour = pixel & 0xFFFFFFu;
  return colour == kBlack ? black : colour == kWhite ? white : pixel;
}

}  // namespace inkpane
