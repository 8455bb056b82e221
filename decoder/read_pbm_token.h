#pragma once

// The token reader, which with the bitmap decoder of render_pbm_file.h makes
// up the decoding module, Module1.

#include <string>

namespace inkpane {

// The file slot through which the decoder reads the image.
inline constexpr int kImageFileSlot = 1;

// Reads the next token of a PBM header or plain raster from the image file slot
// into `token`, replacing what it held; empty at the end of the file. A comment
// ("#" up to the end of its line) is returned as one token, "#" included. The
// caller reuses one string across calls, so the pixel loop does not allocate.
void ReadPbmToken(std::string& token);

}  // namespace inkpane
