#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "bench/readers.h"

namespace inkpane::bench {
namespace {

std::vector<char> ReadWholeFile(const std::string& path) {
  std::vector<char> bytes(std::filesystem::file_size(path));
  std::ifstream in(path, std::ios::binary);
  if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) throw ReadError("cannot read " + path);
  return bytes;
}

// Every decoder reads each byte of the file at least once and writes each
// pixel of the surface at least once; this does exactly that and nothing more.
struct FloorBuffers {
  std::vector<char> file;
  std::vector<char> copy;
  std::vector<std::uint32_t> surface;
};

}  // namespace

TimedRead PrepareFloor(const InputFile& file) {
  auto buffers = std::make_shared<FloorBuffers>();
  buffers->file = ReadWholeFile(file.path);
  buffers->copy.resize(buffers->file.size());
  buffers->surface.resize(static_cast<std::size_t>(file.width) * static_cast<std::size_t>(file.height));
  return [buffers] {
    std::memcpy(buffers->copy.data(), buffers->file.data(), buffers->file.size());
    std::ranges::fill(buffers->surface, 0xFFFFFFFFu);
    benchmark::DoNotOptimize(buffers->copy.data());
    benchmark::DoNotOptimize(buffers->surface.data());
    benchmark::ClobberMemory();
  };
}

}  // namespace inkpane::bench
