#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "bench/speed.h"

namespace inkpane::bench {
namespace {

double Megapixels(const InputFile& file) {
  return static_cast<double>(file.width) * static_cast<double>(file.height) / 1e6;
}

void PrintFileHeading(const FileTimings& timings) {
  const double megabytes = static_cast<double>(std::filesystem::file_size(timings.file.path)) / 1e6;
  std::printf("%s: %dx%d, %.1f MP, %.1f MB\n", std::string(timings.input.label).c_str(), timings.file.width,
              timings.file.height, Megapixels(timings.file), megabytes);
}

void PrintReaderRow(const FileTimings& timings, std::string_view reader, const Timing& timing) {
  const std::string name(reader);
  if (!timing.seconds) {
    const char* verdict = reader == kInkpane ? "FAILED" : "refused";
    std::printf("  %-27s %s: %s\n", name.c_str(), verdict, timing.error.c_str());
    return;
  }
  const double milliseconds = *timing.seconds * 1e3;
  const double megapixelsPerSecond = Megapixels(timings.file) / *timing.seconds;
  const std::optional<double> inkpane = timings.byReader.at(kInkpane).seconds;
  if (inkpane) {
    std::printf("  %-27s %10.2f ms %10.1f %12.2f\n", name.c_str(), milliseconds, megapixelsPerSecond,
                *timing.seconds / *inkpane);
  } else {
    std::printf("  %-27s %10.2f ms %10.1f %12s\n", name.c_str(), milliseconds, megapixelsPerSecond, "-");
  }
}

}  // namespace

void PrintSpeedTable(std::span<const FileTimings> timings) {
  std::printf(
      "\nSpeed: median wall time of one read over %d repetitions; the last column is that time over"
      " Inkpane's\n",
      kRepetitions);
  std::printf("  %-27s %13s %10s %12s\n", "reader", "median", "MP/s", "x Inkpane");
  for (const FileTimings& fileTimings : timings) {
    PrintFileHeading(fileTimings);
    for (const Reader& reader : kReaders) {
      PrintReaderRow(fileTimings, reader.name, fileTimings.byReader.at(reader.name));
    }
  }
}

}  // namespace inkpane::bench
