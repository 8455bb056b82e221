#include "bench/responsiveness.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bench/inputs.h"
#include "decoder/render_pbm_file.h"
#include "platform/platform_hooks.h"
#include "tools/offscreen_target.h"

namespace inkpane::bench {
namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

// The window draws on a surface the size of the screen, whatever the image's
// size; a common screen is 1920x1080. Pixels beyond it are dropped, as the
// window drops them.
constexpr int kSurfaceWidth = 1920;
constexpr int kSurfaceHeight = 1080;
constexpr Colour kBackground = 0x808080;
constexpr Milliseconds kTarget{20};
// Other work on a shared machine can stall any one decode, so each file is
// decoded a few times and the middle one is reported.
constexpr int kDecodes = 3;

// The stretches of one decode during which the window could not handle an
// event: from the start to the first event processing, the longest between two
// of them, and from the last one to the end, after which the window's own
// event loop takes over.
struct Stretches {
  Milliseconds toFirst{};
  Milliseconds longestBetween{};
  Milliseconds lastToEnd{};
  // The longest of them all in the decoding thread's own CPU time, which
  // leaves out the time a busy machine gave to other programs.
  Milliseconds longestCpu{};
  int eventCalls = 0;
  std::string message;

  Milliseconds Longest() const { return std::max({toFirst, longestBetween, lastToEnd}); }
};

Milliseconds ThreadCpuTime() {
  timespec now{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

Stretches MeasureDecode(const std::string& path) {
  OffscreenTarget target(kSurfaceWidth, kSurfaceHeight, kBackground);
  Stretches stretches;
  Clock::time_point last;
  Milliseconds lastCpu;
  const auto endStretchOfCpu = [&] {
    const Milliseconds now = ThreadCpuTime();
    stretches.longestCpu = std::max(stretches.longestCpu, now - lastCpu);
    lastCpu = now;
  };
  const auto eventsRun = [&] {
    const Clock::time_point now = Clock::now();
    if (stretches.eventCalls == 0) {
      stretches.toFirst = now - last;
    } else {
      stretches.longestBetween = std::max(stretches.longestBetween, Milliseconds(now - last));
    }
    ++stretches.eventCalls;
    last = now;
    endStretchOfCpu();
  };
  // The window waits on storage in an event loop of its own, where each event
  // is handled as it comes: a stretch without event processing ends where a
  // wait begins, and the next begins where it ends. Where the call runs
  // changes neither.
  const auto awaitStorage = [&](const std::function<void()>& call, std::optional<std::chrono::milliseconds>) {
    eventsRun();
    call();
    last = Clock::now();
    lastCpu = ThreadCpuTime();
    return true;
  };
  const ScopedPlatformHooks hooks({
      .messageBox = [&](std::string_view text, MessageBoxStyle,
                        std::string_view title) { stretches.message = std::string(title) + ": " + std::string(text); },
      .doEvents = eventsRun,
      .awaitStorage = awaitStorage,
  });
  last = Clock::now();
  lastCpu = ThreadCpuTime();
  RenderPbmFile(path, target);
  stretches.lastToEnd = Clock::now() - last;
  endStretchOfCpu();
  if (stretches.eventCalls == 0) stretches.toFirst = stretches.lastToEnd;
  return stretches;
}

Stretches MiddleDecode(const std::string& path) {
  std::vector<Stretches> decodes;
  for (int i = 0; i < kDecodes; ++i) decodes.push_back(MeasureDecode(path));
  std::ranges::sort(decodes, {}, &Stretches::Longest);
  return decodes[decodes.size() / 2];
}

}  // namespace

bool PrintResponsiveness(const std::filesystem::path& inputFolder, const std::filesystem::path& slowStorage) {
  std::printf(
      "\nResponsiveness: stretches without event processing, decoding onto a %dx%d surface"
      " (the screen's size), middle of %d decodes\n",
      kSurfaceWidth, kSurfaceHeight, kDecodes);
  std::printf("  %-40s %10s %10s %11s %7s %11s\n", "file", "to first", "longest", "last to end", "calls",
              "longest CPU");
  struct Row {
    std::string label;
    std::filesystem::path path;
  };
  std::vector<Row> rows;
  for (const Input& input : kResponsivenessInputs) rows.push_back({std::string(input.label), inputFolder / input.name});
  if (!slowStorage.empty()) rows.push_back({"A4 raw P4, every read waiting 100 ms", slowStorage / kA4Raw.name});
  bool decoded = true;
  for (const Row& row : rows) {
    const Stretches stretches = MiddleDecode(row.path.string());
    std::printf("  %-40s %7.1f ms %7.1f ms %8.1f ms %7d %8.1f ms   target <= %.0f ms: %s\n", row.label.c_str(),
                stretches.toFirst.count(), stretches.longestBetween.count(), stretches.lastToEnd.count(),
                stretches.eventCalls, stretches.longestCpu.count(), kTarget.count(),
                stretches.Longest() <= kTarget ? "met" : "NOT MET");
    if (!stretches.message.empty()) {
      std::printf("  FAILED: %s showed a message box: %s\n", row.path.c_str(), stretches.message.c_str());
      decoded = false;
    }
  }
  return decoded;
}

}  // namespace inkpane::bench
