// inkpane-bench: times Inkpane's decoder beside Qt's, netpbm's and
// ImageMagick's readers and a memory-copy floor, and measures how long the
// decoder goes without letting events run. bench/run makes its input files.
//
//   inkpane-bench INPUT_FOLDER
//   inkpane-bench --peak-read qt|qt-unlimited|netpbm FILE
//
// The second form reads FILE once with one peer and exits, so that bench/run
// can measure the peak memory of that read in a process of its own;
// qt-unlimited is Qt's read with its allocation limit lifted.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "bench/inputs.h"
#include "bench/readers.h"
#include "bench/responsiveness.h"
#include "bench/speed.h"

namespace {

using namespace inkpane::bench;

int PeakRead(std::string_view peer, const char* path) {
  TimedRead (*prepare)(const InputFile&) = nullptr;
  if (peer == "qt" || peer == "qt-unlimited") prepare = PrepareQtRead;
  if (peer == "qt-unlimited") LiftQtAllocationLimit();
  if (peer == "netpbm") prepare = PrepareNetpbmRows;
  if (prepare == nullptr) {
    std::fprintf(stderr, "inkpane-bench: --peak-read takes qt, qt-unlimited or netpbm\n");
    return 2;
  }
  try {
    prepare(DescribeWithNetpbm(path))();
  } catch (const ReadError& error) {
    std::fprintf(stderr, "inkpane-bench: %s refused %s: %s\n", std::string(peer).c_str(), path, error.what());
    return 1;
  }
  return 0;
}

int RunBenchmark(const std::filesystem::path& inputFolder, const std::filesystem::path& slowStorage) {
  std::vector<InputFile> files;
  try {
    for (const Input& input : kTimedInputs) files.push_back(DescribeWithNetpbm((inputFolder / input.name).string()));
  } catch (const ReadError& error) {
    std::fprintf(stderr, "inkpane-bench: cannot read an input file in %s: %s\n", inputFolder.c_str(), error.what());
    return 2;
  }
  const std::vector<FileTimings> timings = TimeEveryReader(kTimedInputs, files);
  PrintSpeedTable(timings);
  PrintSpeedTargets(timings);
  const bool decodedWideFiles = PrintResponsiveness(inputFolder, slowStorage);
  const bool decodedTimedFiles = std::ranges::all_of(
      timings, [](const FileTimings& fileTimings) { return fileTimings.byReader.at(kInkpane).seconds.has_value(); });
  std::fflush(stdout);
  return decodedWideFiles && decodedTimedFiles ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::span arguments(argv, static_cast<std::size_t>(argc));
  if (arguments.size() == 4 && std::string_view(arguments[1]) == "--peak-read") {
    return PeakRead(arguments[2], arguments[3]);
  }
  if (arguments.size() == 2) return RunBenchmark(arguments[1], {});
  if (arguments.size() == 3) return RunBenchmark(arguments[1], arguments[2]);
  std::fprintf(stderr,
               "usage: inkpane-bench INPUT_FOLDER [SLOW_STORAGE_FOLDER]\n       inkpane-bench --peak-read qt|qt-unlimited|netpbm FILE\n");
  return 2;
}
