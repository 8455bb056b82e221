#include <cstdio>
#include <optional>
#include <string>

#include "bench/speed.h"

namespace inkpane::bench {
namespace {

// Inkpane's time on a file over a peer's is to be at most `limit`; a target
// without a limit is a comparison printed for reference.
struct SpeedTarget {
  Input input;
  std::string_view peer;
  std::optional<double> limit;
};

// The page of text and the dithered page are held to the same targets.
constexpr SpeedTarget kTargets[] = {
    {.input = kA4Raw, .peer = kFloor, .limit = 2.0},
    {.input = kA4Raw, .peer = kQtReadConvert, .limit = 1.0},
    {.input = kA4Raw, .peer = kNetpbm, .limit = 1.0},
    {.input = kA4Raw, .peer = kMagick, .limit = 1.0},
    {.input = kA4Raw, .peer = kQtRead, .limit = std::nullopt},
    {.input = kA4PlainMagick, .peer = kQtReadConvert, .limit = 1.0 / 8},
    {.input = kA4PlainMagick, .peer = kNetpbm, .limit = 1.0 / 4},
    {.input = kA4PlainNetpbm, .peer = kNetpbm, .limit = 1.0 / 3},
    {.input = kDitherRaw, .peer = kFloor, .limit = 2.0},
    {.input = kDitherRaw, .peer = kQtReadConvert, .limit = 1.0},
    {.input = kDitherRaw, .peer = kNetpbm, .limit = 1.0},
    {.input = kDitherRaw, .peer = kMagick, .limit = 1.0},
    {.input = kDitherPlainMagick, .peer = kQtReadConvert, .limit = 1.0 / 8},
    {.input = kDitherPlainMagick, .peer = kNetpbm, .limit = 1.0 / 4},
    {.input = kDitherPlainNetpbm, .peer = kNetpbm, .limit = 1.0 / 3},
};

const FileTimings* Find(std::span<const FileTimings> timings, const Input& input) {
  for (const FileTimings& fileTimings : timings) {
    if (fileTimings.input.name == input.name) return &fileTimings;
  }
  return nullptr;
}

std::string Limit(const SpeedTarget& target) {
  if (!target.limit) return "no target";
  char text[32];
  std::snprintf(text, sizeof text, "target <= %.3g", *target.limit);
  return text;
}

void PrintTarget(const SpeedTarget& target, const FileTimings& fileTimings) {
  const Timing& ours = fileTimings.byReader.at(kInkpane);
  const Timing& theirs = fileTimings.byReader.at(target.peer);
  std::printf("  %-52s Inkpane / %-26s", std::string(target.input.label).c_str(), std::string(target.peer).c_str());
  if (!ours.seconds) {
    std::printf(" -     %s: not met, Inkpane failed\n", Limit(target).c_str());
  } else if (!theirs.seconds) {
    std::printf(" -     %s: cannot tell, the peer refused the file\n", Limit(target).c_str());
  } else {
    const double ratio = *ours.seconds / *theirs.seconds;
    const char* verdict = !target.limit ? "" : ratio <= *target.limit ? ": met" : ": NOT MET";
    std::printf(" %5.2f %s%s\n", ratio, Limit(target).c_str(), verdict);
  }
}

}  // namespace

void PrintSpeedTargets(std::span<const FileTimings> timings) {
  std::printf("\nSpeed targets: Inkpane's median time over the peer's\n");
  for (const SpeedTarget& target : kTargets) {
    if (const FileTimings* fileTimings = Find(timings, target.input)) PrintTarget(target, *fileTimings);
  }
}

}  // namespace inkpane::bench
