#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "bench/speed.h"

namespace inkpane::bench {
namespace {

// Fast reads repeat within a repetition until this much time has passed, so
// their figure is not one clock tick; slow reads run once per repetition.
constexpr double kMinSecondsPerRepetition = 0.2;

struct Samples {
  std::vector<double> seconds;
  std::string error;
};

// Keeps each repetition's time per read, and the error of a read that failed,
// instead of printing them; says on standard error what has been timed, since
// the whole run takes minutes.
class Collector final : public benchmark::BenchmarkReporter {
 public:
  explicit Collector(std::map<std::string, Samples>& samples) : samples_(samples) {}

  bool ReportContext(const Context&) override { return true; }

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      Samples& samples = samples_[run.run_name.function_name];
      if (run.error_occurred) {
        samples.error = run.error_message;
      } else {
        samples.seconds.push_back(run.real_accumulated_time / static_cast<double>(run.iterations));
      }
      if (run.repetition_index == 0) std::cerr << "timed " << run.run_name.function_name << '\n';
    }
  }

 private:
  std::map<std::string, Samples>& samples_;
};

void TimeReads(benchmark::State& state, const Reader& reader, const InputFile& file) {
  try {
    const TimedRead read = reader.prepare(file);
    for (auto _ : state) read();
  } catch (const std::exception& error) {
    state.SkipWithError(error.what());
  }
}

double Median(std::vector<double> values) {
  std::ranges::sort(values);
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Runs the repetitions of every read in one shuffled order, so that a burst
// of load from elsewhere on a shared machine slows several readers a little
// instead of one reader's every repetition.
void InterleaveRepetitions() {
  std::string program = "inkpane-bench";
  std::string interleave = "--benchmark_enable_random_interleaving=true";
  std::array<char*, 3> arguments{program.data(), interleave.data(), nullptr};
  int count = 2;
  benchmark::Initialize(&count, arguments.data());
}

std::string BenchmarkName(const Input& input, const Reader& reader) {
  return std::string(input.name) + " / " + std::string(reader.name);
}

}  // namespace

std::vector<FileTimings> TimeEveryReader(std::span<const Input> inputs, std::span<const InputFile> files) {
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    for (const Reader& reader : kReaders) {
      const InputFile& file = files[i];
      benchmark::RegisterBenchmark(BenchmarkName(inputs[i], reader).c_str(),
                                   [&reader, &file](benchmark::State& state) { TimeReads(state, reader, file); })
          ->Repetitions(kRepetitions)
          ->MinTime(kMinSecondsPerRepetition)
          ->UseRealTime();
    }
  }
  InterleaveRepetitions();
  std::map<std::string, Samples> samples;
  Collector collector(samples);
  benchmark::RunSpecifiedBenchmarks(&collector);
  benchmark::ClearRegisteredBenchmarks();

  std::vector<FileTimings> timings;
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    FileTimings& fileTimings = timings.emplace_back(FileTimings{.input = inputs[i], .file = files[i], .byReader = {}});
    for (const Reader& reader : kReaders) {
      const Samples& measured = samples[BenchmarkName(inputs[i], reader)];
      Timing& timing = fileTimings.byReader[reader.name];
      if (!measured.error.empty() || measured.seconds.empty()) {
        timing.error = measured.error.empty() ? "not run" : measured.error;
      } else {
        timing.seconds = Median(measured.seconds);
      }
    }
  }
  return timings;
}

}  // namespace inkpane::bench
