#pragma once

// The token reader, which with the bitmap decoder of render_pbm_file.h makes
// up the decoding module, Module1.

#include <cstddef>
#include <cstdint>
#include <string>

namespace inkpane {

// The file slot through which the decoder reads the image.
inline constexpr int kImageFileSlot = 1;

// Every byte up to and including the space counts as whitespace, control bytes
// such as NUL among them; bytes above 0x7F are ordinary token bytes.
inline bool IsPbmWhitespace(std::uint8_t byte) { return byte <= 0x20; }

// The most of one token the reader holds at a time; a longer token is read
// in pieces of this length. No number or line of a real file comes near it.
inline constexpr std::size_t kLongestTokenPiece = std::size_t{64} * 1024;

// Reads the next token of a PBM header or plain raster from the image file slot
// into `token`, replacing what it held; empty at the end of the file. A comment
// ("#" up to the end of its line) is returned as its "#" alone: nothing reads
// further into it, so the rest is skipped without being kept. The caller
// reuses one string across calls, so the pixel loop does not allocate.
// A token longer than kLongestTokenPiece comes a piece at a time: this returns
// its first piece and true, and ReadPbmTokenPiece the next; false means the
// token is whole.
bool ReadPbmToken(std::string& token);

// The next piece of a token that the last call of ReadPbmToken or of this left
// unfinished, never empty; returns whether the token goes on after it.
bool ReadPbmTokenPiece(std::string& piece);

}  // namespace inkpane
