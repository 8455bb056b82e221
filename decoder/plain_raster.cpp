#include "decoder/plain_raster.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "decoder/decoding_steps.h"
#include "decoder/read_pbm_token.h"
#include "decoder/token_number.h"
#include "platform/file_slots.h"
#include "platform/resolved_device_context.h"
#include "platform/run_time_error.h"

namespace inkpane {
namespace {

// A character of a plain raster that is a pixel by itself: '0' (0x30) or '1'.
bool IsPixelDigit(std::uint8_t c) { return (c & 0xFEu) == '0'; }

// Whether all eight bytes of a word are pixel digits, tested at once.
bool AllPixelDigits(const std::uint8_t* bytes) {
  constexpr std::uint64_t kEveryByte = 0x0101010101010101u;
  std::uint64_t word = 0;
  std::memcpy(&word, bytes, sizeof word);
  return (word & (0xFEu * kEveryByte)) == '0' * kEveryByte;
}

// The end of the pixel digits from `at` on, looking at a word at a time
// where eight bytes are left: runs of netpbm's plain rasters are 70 long.
const std::uint8_t* EndOfPixelDigits(const std::uint8_t* at, const std::uint8_t* stop) {
  while (stop - at >= 8 && AllPixelDigits(at)) at += 8;
  while (at != stop && IsPixelDigit(*at)) ++at;
  return at;
}

// A token made only of pixel digits: a run of pixels.
bool IsRun(std::string_view token) {
  return !token.empty() &&
         std::ranges::all_of(token, [](char c) { return IsPixelDigit(static_cast<std::uint8_t>(c)); });
}

// '1' is black and '0' white: the low bit of the character picks the colour,
// with no branch for a halftone's pixels to mispredict.
Colour ColourOfDigit(std::uint8_t digit) { return (static_cast<Colour>(digit & 1u) - 1u) & kWhite; }

// The pixels of a plain raster, a row at a time. Writers commonly put the
// digits of a plain raster down without separators, so a token made only of
// 0 and 1 is a run of pixels, one per character, running on across row ends.
// Any other token is one pixel, black when its number is not 0; the empty
// token at the end of the file reads as 0, so a short raster finishes in white.
//
// A run that lies whole in the file's buffer, with the byte that ends it, is
// drawn from there; the token reader takes everything else. A run too long
// to hold is drawn a piece at a time as it is read. Should it turn out not to
// be a run after all, the pixels drawn from it cannot be taken back, so that
// is reported as an error.
class PlainRaster {
 public:
  void DrawRow(std::uint32_t hdc, int y, int width) {
    ResolvedDeviceContext dc(hdc, y);
    // The run and the place in the file's buffer are kept in locals while
    // the row is drawn; the buffer is consumed up to that place whenever the
    // token reader takes over, and once the row is done.
    const std::uint8_t* next = next_;
    const std::uint8_t* end = end_;
    std::span<const std::uint8_t> ahead = file_.Buffered();
    const std::uint8_t* at = ahead.data();
    const std::uint8_t* stop = at + ahead.size();
    int x = 0;
    while (x < width) {
      if (next == end) {
        bool inBuffer = false;
        // While a run too long to hold goes on, the file stands inside it.
        if (!runGoesOn_) {
          // Digits each followed by one whitespace byte, as ImageMagick
          // writes them: one-pixel runs, drawn as they are met.
          while (x < width && stop - at >= 2 && IsPixelDigit(at[0]) && IsPbmWhitespace(at[1])) {
            SetPixel(dc, x++, y, ColourOfDigit(at[0]));
            at += 2;
          }
          if (x == width) break;
          // Any other run in the buffer, found and tested in one pass and
          // drawn from where it lies.
          while (at != stop && IsPbmWhitespace(*at)) ++at;
          const std::uint8_t* const runEnd = EndOfPixelDigits(at, stop);
          inBuffer = runEnd != at && runEnd != stop && IsPbmWhitespace(*runEnd);
          if (inBuffer) {
            next = at;
            end = runEnd;
            at = runEnd + 1;
          }
        }
        if (!inBuffer) {
          file_.Consume(static_cast<std::size_t>(at - ahead.data()));
          const Token token = NextTokenTheLongWay();
          ahead = file_.Buffered();
          at = ahead.data();
          stop = at + ahead.size();
          if (token.run.empty()) {
            SetPixel(dc, x++, y, token.colour);
            continue;
          }
          next = token.run.data();
          end = next + token.run.size();
        }
      }
      const int count = static_cast<int>(std::min<std::ptrdiff_t>(width - x, end - next));
      for (int i = 0; i < count; ++i) SetPixel(dc, x + i, y, ColourOfDigit(next[i]));
      x += count;
      next += count;
    }
    file_.Consume(static_cast<std::size_t>(at - ahead.data()));
    next_ = next;
    end_ = end;
  }

  bool EndedEarly() const { return endedEarly_; }

 private:
  // A token the token reader took: a run, or the colour of a one-pixel token.
  struct Token {
    std::span<const std::uint8_t> run;
    Colour colour = kWhite;
  };

  // Everything the buffer does not hold whole, through the token reader; a
  // run is held in token_. Out of line, so that the row's loop keeps its
  // registers.
  [[gnu::noinline]] Token NextTokenTheLongWay() {
    bool goesOn = false;
    if (runGoesOn_) {
      goesOn = ReadPbmTokenPiece(token_);
      if (!IsRun(token_)) {
        throw RunTimeError(ErrorNumber::OutOfStringSpace,
                           "The raster holds a token of more than " + std::to_string(kLongestTokenPiece) +
                               " characters that begins as a run of 0 and 1 and goes on with other characters: "
                               "too long to hold.");
      }
    } else {
      goesOn = ReadTokenSkippingComments(token_);
      if (!IsRun(token_)) {
        // Past the end of the file every token is empty: white, with no parsing.
        if (token_.empty()) endedEarly_ = true;
        const bool black = goesOn ? NumberOfLongToken(token_) != 0 : !token_.empty() && TokenToInteger(token_) != 0;
        return {.run = {}, .colour = black ? kBlack : kWhite};
      }
    }
    runGoesOn_ = goesOn;
    return {.run = {reinterpret_cast<const std::uint8_t*>(token_.data()), token_.size()}};
  }

  FileSlot& file_ = FileSlotAt(kImageFileSlot);
  std::string token_;
  // The pixels of the run not drawn yet: in the file's buffer, which stays
  // where it is until the next refill, or in token_.
  const std::uint8_t* next_ = nullptr;
  const std::uint8_t* end_ = nullptr;
  bool runGoesOn_ = false;
  bool endedEarly_ = false;
};

}  // namespace

bool DrawPlainRaster(std::uint32_t hdc, int width, int height, DrawingTarget& target) {
  PlainRaster raster;
  for (int y = 0; y < height; ++y) {
    raster.DrawRow(hdc, y, width);
    if (y % 16 == 0) RefreshAndLetEventsRun(target);
  }
  return raster.EndedEarly();
}

}  // namespace inkpane
