#include "tests/test_support.h"

#include <cstdint>
#include <fstream>
#include <random>
#include <stdexcept>

#include "decoder/read_pbm_token.h"
#include "decoder/render_pbm_file.h"
#include "platform/file_slots.h"
#include "platform/platform_hooks.h"
#include "platform/utf8_path.h"
#include "tools/offscreen_target.h"

namespace inkpane::testing {
namespace {

constexpr Colour kGrey = 0x808080;

}  // namespace

std::string Overflow(std::string_view shown) {
  return kReadError + "Overflow: the number \"" + std::string(shown) + "\" lies outside the range -32768 to 32767.";
}

std::string Refreshes(int count) {
  std::string calls;
  for (int i = 0; i < count; ++i) calls += "RE";
  return calls;
}

bool ImageSlotIsFree(const std::string& anyRegularFile) {
  try {
    OpenForInput(kImageFileSlot, anyRegularFile);
  } catch (const std::exception&) {
    return false;
  }
  CloseFile(kImageFileSlot);
  return true;
}

std::string MessageAsText(std::string_view text, MessageBoxStyle style, std::string_view title) {
  return "[" + std::to_string(static_cast<int>(style)) + "] " + std::string(title) + ": " + std::string(text);
}

// A name nobody else has taken: create_directory makes the folder only when
// none of that name was there.
TempDir::TempDir() {
  std::random_device random;
  std::uniform_int_distribution<std::uint32_t> number;
  for (int attempt = 0; attempt < 100; ++attempt) {
    path_ = std::filesystem::temp_directory_path() / ("inkpane-test-" + std::to_string(number(random)));
    if (std::filesystem::create_directory(path_)) return;
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(std::string_view name, std::string_view bytes) const {
  const std::filesystem::path file = path_ / PathFromUtf8(name);
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + Utf8FromPath(file));
  return Utf8FromPath(file);
}

Decoded DecodeFile(const std::string& path, int surfaceWidth, int surfaceHeight,
                   const std::function<void()>& duringEvents) {
  const TempDir probe;
  const std::string probeFile = probe.Write("probe", "");
  Decoded decoded;
  bool closedAtEveryMessage = true;
  OffscreenTarget target(surfaceWidth, surfaceHeight, kGrey);
  // The decoder draws rows from the top down, each from its left edge, so the
  // rows drawn so far are those from the top whose first pixel is not grey.
  // Counting on from the last refresh keeps a decode of thousands of
  // refreshes from looking at the whole surface at each one.
  int drawnRows = 0;
  target.OnRefresh([&] {
    while (drawnRows < surfaceHeight && target.surface().PixelAt(0, drawnRows) != kGrey) ++drawnRows;
    decoded.refreshRows.push_back(drawnRows - 1);
    decoded.calls += 'R';
  });
  {
    ScopedPlatformHooks hooks({
        .messageBox =
            [&](std::string_view text, MessageBoxStyle style, std::string_view title) {
              closedAtEveryMessage = closedAtEveryMessage && ImageSlotIsFree(probeFile);
              decoded.messages.push_back(MessageAsText(text, style, title));
            },
        .doEvents =
            [&] {
              decoded.calls += 'E';
              if (duringEvents) duringEvents();
            },
    });
    RenderPbmFile(path, target);
  }

  const OffscreenTarget::Extent extent = target.DrawnExtent();
  for (int y = 0; y < extent.height; ++y) {
    std::string row;
    for (int x = 0; x < extent.width; ++x) {
      const Colour colour = target.surface().PixelAt(x, y);
      row += colour == 0x000000 ? '1' : colour == 0xFFFFFF ? '0' : '.';
    }
    decoded.rows.push_back(row);
  }

  decoded.slotClosed = closedAtEveryMessage && ImageSlotIsFree(probeFile);
  decoded.report = target.report();
  return decoded;
}

Decoded DecodeBytes(std::string_view bytes) {
  const TempDir dir;
  return DecodeFile(dir.Write("image.pbm", bytes));
}

}  // namespace inkpane::testing
