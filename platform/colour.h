#pragma once

#include <cstdint>

namespace inkpane {

// A 24-bit RGB colour, 0xRRGGBB.
using Colour = std::uint32_t;

}  // namespace inkpane
