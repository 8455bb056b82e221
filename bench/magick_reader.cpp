#include <Magick++.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "bench/readers.h"

namespace inkpane::bench {
namespace {

// Every other reader runs on one thread, so ImageMagick does too.
void InitializeMagick() {
  static const bool initialized = [] {
    Magick::InitializeMagick(nullptr);
    Magick::ResourceLimits::thread(1);
    return true;
  }();
  static_cast<void>(initialized);
}

// ImageMagick's error for an image over its security policy's limits names
// no limit, so the refusal lists them.
std::string PolicyLimits() {
  const auto mebibytes = [](MagickCore::MagickSizeType bytes) { return std::to_string(bytes >> 20) + " MiB"; };
  return "policy limits: width " + std::to_string(Magick::ResourceLimits::width()) + ", height " +
         std::to_string(Magick::ResourceLimits::height()) + ", area " +
         std::to_string(Magick::ResourceLimits::area() / 1000000) + " MP, memory " +
         mebibytes(Magick::ResourceLimits::memory()) + ", map " + mebibytes(Magick::ResourceLimits::map()) + ", disk " +
         mebibytes(Magick::ResourceLimits::disk());
}

}  // namespace

// The pixels are exported as 32-bit BGRA, the layout of Inkpane's surface
// and of Qt's RGB32 on this little-endian machine.
TimedRead PrepareMagickExport(const InputFile& file) {
  InitializeMagick();
  auto pixels = std::make_shared<std::vector<unsigned char>>(static_cast<std::size_t>(file.width) *
                                                             static_cast<std::size_t>(file.height) * 4);
  return [path = file.path, width = file.width, height = file.height, pixels] {
    try {
      Magick::Image image;
      image.read(path);
      image.write(0, 0, static_cast<std::size_t>(width), static_cast<std::size_t>(height), "BGRA", Magick::CharPixel,
                  pixels->data());
    } catch (const Magick::Exception& error) {
      throw ReadError(std::string(error.what()) + " (" + PolicyLimits() + ")");
    }
  };
}

}  // namespace inkpane::bench
