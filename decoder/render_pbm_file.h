#pragma once

// The bitmap decoder, which with the token reader of read_pbm_token.h makes
// up the decoding module, Module1.

#include <cstddef>
#include <string_view>

#include "decoder/drawing_target.h"

namespace inkpane {

// Events run after every sixteen rows, and besides, whenever this many bytes
// have been read since events last ran: a long stretch of whitespace, or a
// long comment or token, takes no longer than a few milliseconds to read.
inline constexpr std::size_t kBytesReadBetweenEvents = std::size_t{2} * 1024 * 1024;

// Decodes the PBM file `fileName` onto `target`, the top-left image pixel at
// (0, 0), refreshing the target as rows arrive. Every failure is reported to
// the user in a message box; the call always returns normally.
void RenderPbmFile(std::string_view fileName, DrawingTarget& target);

}  // namespace inkpane
