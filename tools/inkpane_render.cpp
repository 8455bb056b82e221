// inkpane-render: decodes a PBM file onto an offscreen surface, the way the
// viewer draws it, and writes what was drawn as a binary PPM.

#include <charconv>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "decoder/render_pbm_file.h"
#include "platform/platform_hooks.h"
#include "platform/program_arguments.h"
#include "platform/utf8_path.h"
#include "tools/offscreen_target.h"

namespace {

using inkpane::OffscreenTarget;

constexpr inkpane::Colour kBackground = 0x808080;
// No image coordinate reaches beyond 32767, so a larger surface would show nothing more.
constexpr int kLargestSide = 32768;

struct Options {
  int width = 4096;
  int height = 4096;
  std::string input;
  std::string output;
};

std::optional<int> ParseSide(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || value < 1 || value > kLargestSide) {
    return std::nullopt;
  }
  return value;
}

std::optional<Options> ParseArguments(std::span<const std::string> arguments) {
  Options options;
  std::size_t next = 1;
  if (arguments.size() > next && std::string_view(arguments[next]) == "--size") {
    if (arguments.size() <= next + 1) return std::nullopt;
    const std::string_view size = arguments[next + 1];
    const std::size_t cross = size.find('x');
    if (cross == std::string_view::npos) return std::nullopt;
    const auto width = ParseSide(size.substr(0, cross));
    const auto height = ParseSide(size.substr(cross + 1));
    if (!width || !height) return std::nullopt;
    options.width = *width;
    options.height = *height;
    next += 2;
  }
  if (arguments.size() != next + 2) return std::nullopt;
  options.input = arguments[next];
  options.output = arguments[next + 1];
  return options;
}

// One message box as one line, its line breaks written as \r and \n.
void PrintMessage(std::string_view text, std::string_view title) {
  std::string line = "message: " + std::string(title) + ": ";
  for (const char c : text) {
    if (c == '\r') {
      line += "\\r";
    } else if (c == '\n') {
      line += "\\n";
    } else {
      line += c;
    }
  }
  std::cout << line << '\n';
}

bool WritePpm(const std::string& path, const OffscreenTarget& target, OffscreenTarget::Extent extent) {
  std::ofstream out(inkpane::PathFromUtf8(path), std::ios::binary | std::ios::trunc);
  out << "P6\n" << extent.width << ' ' << extent.height << "\n255\n";
  std::vector<char> row(static_cast<std::size_t>(extent.width) * 3);
  for (int y = 0; y < extent.height; ++y) {
    const auto pixels = target.surface().Row(y).first(static_cast<std::size_t>(extent.width));
    for (std::size_t x = 0; x < pixels.size(); ++x) {
      row[x * 3] = static_cast<char>(pixels[x] >> 16);
      row[x * 3 + 1] = static_cast<char>(pixels[x] >> 8);
      row[x * 3 + 2] = static_cast<char>(pixels[x]);
    }
    out.write(row.data(), static_cast<std::streamsize>(row.size()));
  }
  out.close();
  return !out.fail();
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = ParseArguments(inkpane::ProgramArguments(argc, argv));
  if (!options) {
    std::cerr << "usage: inkpane-render [--size WxH] INPUT OUTPUT.ppm\n";
    return 2;
  }

  inkpane::ScopedPlatformHooks hooks({
      .messageBox = [](std::string_view text, inkpane::MessageBoxStyle,
                       std::string_view title) { PrintMessage(text, title); },
  });
  std::optional<OffscreenTarget> target;
  try {
    target.emplace(options->width, options->height, kBackground);
  } catch (const std::bad_alloc&) {
    std::cerr << "inkpane-render: not enough memory for a " << options->width << 'x' << options->height << " surface\n";
    return 2;
  }
  inkpane::RenderPbmFile(options->input, *target);

  const OffscreenTarget::Extent extent = target->DrawnExtent();
  if (extent.width == 0) {
    std::cout << "nothing drawn\n";
  } else if (!WritePpm(options->output, *target, extent)) {
    std::cerr << "inkpane-render: cannot write " << options->output << '\n';
    return 2;
  }
  std::cout << "refreshes: " << target->refreshes() << '\n';
  return 0;
}
