#pragma once

#include <array>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bench/inputs.h"
#include "bench/readers.h"

namespace inkpane::bench {

struct Reader {
  std::string_view name;
  TimedRead (*prepare)(const InputFile& file);
};

inline constexpr std::string_view kInkpane = "Inkpane";
inline constexpr std::string_view kFloor = "floor: copy + fill";
inline constexpr std::string_view kQtRead = "Qt read";
inline constexpr std::string_view kQtReadConvert = "Qt read + RGB32";
inline constexpr std::string_view kNetpbm = "netpbm rows";
inline constexpr std::string_view kMagick = "ImageMagick read + export";

inline constexpr std::array kReaders = {
    Reader{.name = kInkpane, .prepare = PrepareInkpane},
    Reader{.name = kFloor, .prepare = PrepareFloor},
    Reader{.name = kQtRead, .prepare = PrepareQtRead},
    Reader{.name = kQtReadConvert, .prepare = PrepareQtReadAndConvert},
    Reader{.name = kNetpbm, .prepare = PrepareNetpbmRows},
    Reader{.name = kMagick, .prepare = PrepareMagickExport},
};

// The median time of one read, or, when the reader did not read the file,
// the reason.
struct Timing {
  std::optional<double> seconds;
  std::string error;
};

struct FileTimings {
  Input input;
  InputFile file;
  std::map<std::string_view, Timing> byReader;
};

// Each read is timed in this many repetitions, and their median is kept.
inline constexpr int kRepetitions = 5;

// Times every reader on every file with Google Benchmark, one file after the
// other, and keeps the median of the repetitions.
std::vector<FileTimings> TimeEveryReader(std::span<const Input> inputs, std::span<const InputFile> files);

void PrintSpeedTable(std::span<const FileTimings> timings);
void PrintSpeedTargets(std::span<const FileTimings> timings);

}  // namespace inkpane::bench
