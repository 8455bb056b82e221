#pragma once

// The small steps that the header and both rasters share.

#include <cstdint>
#include <string>

#include "decoder/drawing_target.h"
#include "platform/colour.h"

namespace inkpane {

inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kWhite = 0xFFFFFF;

// Reads tokens until one is not a comment. Comments may stand anywhere in a
// header or a plain raster, between width and height included. Returns
// whether that token goes on past the piece in `token`.
bool ReadTokenSkippingComments(std::string& token);

// The number of a token too long to hold, whose first piece is `token`: the
// rest is read in pieces, each taken into the number and let go.
std::int16_t NumberOfLongToken(std::string& token);

// Shows the rows drawn so far and lets pending events run. Rows, when they
// come often enough, are where events run; the count of bytes read towards
// the next paced event processing starts again there.
void RefreshAndLetEventsRun(DrawingTarget& target);

}  // namespace inkpane
