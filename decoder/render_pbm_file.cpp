#include "decoder/render_pbm_file.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "decoder/decoding_steps.h"
#include "decoder/plain_raster.h"
#include "decoder/read_pbm_token.h"
#include "decoder/token_number.h"
#include "platform/file_slots.h"
#include "platform/known_columns.h"
#include "platform/platform_hooks.h"
#include "platform/resolved_device_context.h"

namespace inkpane {
namespace {

constexpr std::string_view kErrorTitle = "Error";

std::int16_t NumberOf(std::string& token, bool goesOn) {
  return goesOn ? NumberOfLongToken(token) : TokenToInteger(token);
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

// Draws `count` pixels of a raw byte from (x, y) rightwards through `context`.
// The byte's colours are copied from the table, one by one, before the first
// store: the compiler cannot tell that a pixel store leaves the table alone,
// and would read each colour only after the previous pixel's store.
template <typename Context>
void DrawByte(Context& context, int x, int y, std::uint8_t byte, int count) {
  std::array<Colour, 8> colours;
  std::ranges::copy(kByteColours[byte], colours.begin());
  for (int bit = 0; bit < count; ++bit) SetPixel(context, x + bit, y, colours[static_cast<std::size_t>(bit)]);
}

// Draws whole bytes from (x, y) rightwards, all of whose pixels share `kFate`.
template <ColumnsFate kFate>
void DrawBytesOfOneFate(ResolvedDeviceContext& dc, int x, int y, std::span<const std::uint8_t> bytes) {
  for (const std::uint8_t byte : bytes) {
    KnownColumns<kFate, 8> known(dc, x, y);
    DrawByte(known, x, y, byte, 8);
    x += 8;
  }
}

// Each raw row starts on a fresh byte, most significant bit leftmost; the
// unused low bits of a row's last byte are skipped. Reads past the end of the
// file yield 0, so a truncated raster finishes in white.
void DrawRawRow(FileSlot& file, std::uint32_t hdc, int y, int width) {
  ResolvedDeviceContext dc(hdc, y);
  int x = 0;
  // Whole bytes go with a fixed count of eight, which the compiler unrolls,
  // taken straight from the file's buffer while it holds them.
  while (width - x >= 8) {
    const std::span<const std::uint8_t> buffered = file.Buffered();
    if (buffered.empty()) {
      DrawByte(dc, x, y, file.ReadByte(), 8);
      x += 8;
      continue;
    }
    const auto wholeBytes = std::min(buffered.size(), static_cast<std::size_t>((width - x) / 8));
    file.Consume(wholeBytes);
    for (std::span<const std::uint8_t> bytes = buffered.first(wholeBytes); !bytes.empty();) {
      // Bytes whose pixels all lie in the quick columns, or all beyond the
      // surface, need no test for any of them: the eight stores of each may
      // become one wide store of its colours, or nothing.
      const std::optional<ColumnsOfOneFate> known = dc.FateFrom(x, y);
      const std::size_t knownBytes = known ? std::min(bytes.size(), known->count / 8) : 0;
      if (knownBytes == 0) {
        DrawByte(dc, x, y, bytes.front(), 8);
        x += 8;
        bytes = bytes.subspan(1);
        continue;
      }
      if (known->fate == ColumnsFate::Stored) {
        DrawBytesOfOneFate<ColumnsFate::Stored>(dc, x, y, bytes.first(knownBytes));
      } else {
        DrawBytesOfOneFate<ColumnsFate::Dropped>(dc, x, y, bytes.first(knownBytes));
      }
      x += 8 * static_cast<int>(knownBytes);
      bytes = bytes.subspan(knownBytes);
    }
  }
  if (x < width) DrawByte(dc, x, y, file.ReadByte(), width - x);
}

// Returns whether the file ended inside the raster: a whole raster is read to
// its last byte and no further.
bool DrawRawRaster(std::uint32_t hdc, int width, int height, DrawingTarget& target) {
  FileSlot& file = FileSlotAt(kImageFileSlot);
  for (int y = 0; y < height; ++y) {
    DrawRawRow(file, hdc, y, width);
    // After rows 15, 31, 47, …: a raw raster, quick to read, shows whole
    // bands of sixteen rows.
    if ((y + 1) % 16 == 0) RefreshAndLetEventsRun(target);
  }
  return file.EndOfFile();
}

void DecodeOpenFile(DrawingTarget& target, DrawingReport& report) {
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
  // A negative size draws nothing, as none does.
  report.size = DrawingReport::Size{std::max(width, 0), std::max(height, 0)};

  const bool endedEarly =
      magic == "P1" ? DrawPlainRaster(hdc, width, height, target) : DrawRawRaster(hdc, width, height, target);
  CloseFile(kImageFileSlot);
  report.end = endedEarly ? DrawingReport::End::RasterCut : DrawingReport::End::Whole;
}

void ReportError(std::string_view description) {
  CloseFile(kImageFileSlot);
  MsgBox("There was an error reading the file:\r\n" + std::string(description), MessageBoxStyle::Critical, kErrorTitle);
}

}  // namespace

void RenderPbmFile(std::string_view fileName, DrawingTarget& target) {
  DrawingReport report;
  try {
    OpenForInput(kImageFileSlot, fileName);
    // A long stretch of whitespace, a long comment or token, brings no row;
    // events run all the same.
    FileSlotAt(kImageFileSlot).PaceReads(kBytesReadBetweenEvents, DoEvents);
    DecodeOpenFile(target, report);
  } catch (const std::bad_alloc&) {
    report.end = DrawingReport::End::Failed;
    ReportError("Out of memory while reading \"" + std::string(fileName) + "\".");
  } catch (const std::exception& error) {
    report.end = DrawingReport::End::Failed;
    ReportError(error.what());
  }
  target.Drawn(report);
}

}  // namespace inkpane
