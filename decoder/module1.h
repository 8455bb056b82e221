#pragma once

#include <string>
#include <string_view>

#include "decoder/drawing_target.h"

namespace inkpane {

// The file slot through which the decoder reads the image.
inline constexpr int kImageFileSlot = 1;

// Reads the next token of a PBM header or plain raster from the image file slot
// into `token`, replacing what it held; empty at the end of the file. A comment
// ("#" up to the end of its line) is returned as one token, "#" included. The
// caller reuses one string across calls, so the pixel loop does not allocate.
void ReadPbmToken(std::string& token);

// Decodes the PBM file `fileName` onto `target`, the top-left image pixel at
// (0, 0), refreshing the target as rows arrive. Every failure is reported to
// the user in a message box; the call always returns normally.
void RenderPbmFile(std::string_view fileName, DrawingTarget& target);

}  // namespace inkpane
