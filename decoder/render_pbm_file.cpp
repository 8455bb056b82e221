#include "decoder/render_pbm_file.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <new>
#include <span>
#include <string>
#include <string_view>

#include "decoder/read_pbm_token.h"
#include "decoder/token_number.h"
#include "platform/device_context.h"
#include "platform/file_slots.h"
#include "platform/platform_hooks.h"
#include "platform/run_time_error.h"

namespace inkpane {
namespace {

constexpr Colour kBlack = 0x000000;
constexpr Colour kWhite = 0xFFFFFF;
constexpr std::string_view kErrorTitle = "Error";

// Reads tokens until one is not a comment. Comments may stand anywhere in a
// header or a plain raster, between width and height included. Returns
// whether that token goes on past the piece in `token`.
bool ReadTokenSkippingComments(std::string& token) {
  bool goesOn = false;
  do {
    goesOn = ReadPbmToken(token);
  } while (!token.empty() && token.front() == '#');
  return goesOn;
}

// The number of a token too long to hold, whose first piece is `token`: the
// rest is read in pieces, each taken into the number and let go.
[[gnu::noinline]] std::int16_t NumberOfLongToken(std::string& token) {
  TokenNumber number;
  number.Take(token);
  for (bool goesOn = true; goesOn;) {
    goesOn = ReadPbmTokenPiece(token);
    number.Take(token);
  }
  return number.Integer();
}

std::int16_t NumberOf(std::string& token, bool goesOn) {
  return goesOn ? NumberOfLongToken(token) : TokenToInteger(token);
}

// The pixels of a plain raster, one at a time. Writers commonly put the digits
// of a plain raster down without separators, so a token made only of 0 and 1
// is a run of pixels, one per character, running on across row ends. Any other
// token is one pixel, black when its number is not 0; the empty token at the
// end of the file reads as 0, so a short raster finishes in white.
//
// A run too long to hold is drawn a piece at a time as it is read. Should it
// turn out not to be a run after all, the pixels drawn from it cannot be taken
// back, so that is reported as an error.
class PlainPixels {
 public:
  bool NextIsBlack() {
    if (nextInRun_ < run_.size()) return run_[nextInRun_++] == '1';
    if (runGoesOn_) return NextPieceOfRun();
    const bool goesOn = ReadTokenSkippingComments(run_);
    if (IsRun(run_)) {
      runGoesOn_ = goesOn;
      nextInRun_ = 1;
      return run_.front() == '1';
    }
    nextInRun_ = run_.size();
    if (goesOn) return NumberOfLongToken(run_) != 0;
    // Past the end of the file every token is empty: white, with no parsing.
    return !run_.empty() && TokenToInteger(run_) != 0;
  }

 private:
  static bool IsPixelDigit(char c) { return c == '0' || c == '1'; }

  // Most tokens are one digit, tested as such; for the rest a plain loop
  // beats the unrolled std::all_of.
  static bool IsRun(std::string_view token) {
    if (token.size() == 1) return IsPixelDigit(token.front());
    for (const char c : token) {
      if (!IsPixelDigit(c)) return false;
    }
    return !token.empty();
  }

  [[gnu::noinline]] bool NextPieceOfRun() {
    runGoesOn_ = ReadPbmTokenPiece(run_);
    if (!IsRun(run_)) {
      throw RunTimeError(ErrorNumber::OutOfStringSpace,
                         "The raster holds a token of more than " + std::to_string(kLongestTokenPiece) +
                             " characters that begins as a run of 0 and 1 and goes on with other characters: "
                             "too long to hold.");
    }
    nextInRun_ = 1;
    return run_.front() == '1';
  }

  std::string run_;
  std::size_t nextInRun_ = 0;
  bool runGoesOn_ = false;
};

// Rows, when they come often enough, are where events run; the count of
// bytes read towards the next paced event processing starts again there.
void RefreshAndLetEventsRun(DrawingTarget& target) {
  target.Refresh();
  DoEvents();
  FileSlotAt(kImageFileSlot).RestartPace();
}

void DrawPlainRaster(std::uint32_t hdc, int width, int height, DrawingTarget& target) {
  PlainPixels pixels;
  for (int y = 0; y < height; ++y) {
    {
      ResolvedDeviceContext dc(hdc, y);
      for (int x = 0; x < width; ++x) SetPixel(dc, x, y, pixels.NextIsBlack() ? kBlack : kWhite);
    }
    if (y % 16 == 0) RefreshAndLetEventsRun(target);
  }
}

// The colours of the eight pixels a raw byte stands for, most significant bit
// first, for every byte value: a lookup in place of a shift and a test per
// pixel.
constexpr auto kByteColours = [] {
  std::array<std::array<Colour, 8>, 256> colours{};
  for (unsigned byte = 0; byte < 256; ++byte) {
    for (unsigned bit = 0; bit < 8; ++bit) colours[byte][bit] = ((byte << bit) & 0x80u) ? kBlack : kWhite;
  }
  return colours;
}();

// Each raw row starts on a fresh byte, most significant bit leftmost; the
// unused low bits of a row's last byte are skipped. Reads past the end of the
// file yield 0, so a truncated raster finishes in white.
void DrawRawRaster(std::uint32_t hdc, int width, int height, DrawingTarget& target) {
  FileSlot& file = FileSlotAt(kImageFileSlot);
  for (int y = 0; y < height; ++y) {
    {
      ResolvedDeviceContext dc(hdc, y);
      const auto drawByte = [&dc, y](int x, std::uint8_t byte, int count) {
        const std::array<Colour, 8>& colours = kByteColours[byte];
        for (int bit = 0; bit < count; ++bit) SetPixel(dc, x + bit, y, colours[static_cast<std::size_t>(bit)]);
      };
      int x = 0;
      // Whole bytes go with a fixed count of eight, which the compiler unrolls,
      // taken straight from the file's buffer while it holds them.
      while (width - x >= 8) {
        const std::span<const std::uint8_t> buffered = file.Buffered();
        if (buffered.empty()) {
          drawByte(x, file.ReadByte(), 8);
          x += 8;
          continue;
        }
        const auto wholeBytes = std::min(buffered.size(), static_cast<std::size_t>((width - x) / 8));
        file.Consume(wholeBytes);
        for (const std::uint8_t byte : buffered.first(wholeBytes)) {
          drawByte(x, byte, 8);
          x += 8;
        }
      }
      if (x < width) drawByte(x, file.ReadByte(), width - x);
    }
    if ((y + 1) % 16 == 0) RefreshAndLetEventsRun(target);
  }
}

void DecodeOpenFile(DrawingTarget& target) {
  const std::uint32_t hdc = target.hdc();
  std::string token;

  ReadPbmToken(token);
  const std::string magic = token;
  if (magic != "P1" && magic != "P4") {
    CloseFile(kImageFileSlot);
    MsgBox("This is not a valid PBM File.", MessageBoxStyle::Critical, kErrorTitle);
    return;
  }

  const int width = NumberOf(token, ReadTokenSkippingComments(token));
  const int height = NumberOf(token, ReadTokenSkippingComments(token));

  if (magic == "P1") {
    DrawPlainRaster(hdc, width, height, target);
  } else {
    DrawRawRaster(hdc, width, height, target);
  }
  CloseFile(kImageFileSlot);
}

void ReportError(std::string_view description) {
  CloseFile(kImageFileSlot);
  MsgBox("There was an error reading the file:\r\n" + std::string(description), MessageBoxStyle::Critical, kErrorTitle);
}

}  // namespace

void RenderPbmFile(std::string_view fileName, DrawingTarget& target) {
  try {
    OpenForInput(kImageFileSlot, fileName);
    // A long stretch of whitespace, a long comment or token, brings no row;
    // events run all the same.
    FileSlotAt(kImageFileSlot).PaceReads(kBytesReadBetweenEvents, DoEvents);
    DecodeOpenFile(target);
  } catch (const std::bad_alloc&) {
    ReportError("Out of memory while reading \"" + std::string(fileName) + "\".");
  } catch (const std::exception& error) {
    ReportError(error.what());
  }
}

}  // namespace inkpane
