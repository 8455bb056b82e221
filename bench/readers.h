#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace inkpane::bench {

// An image file the benchmark reads, and its size as its header gives it.
struct InputFile {
  std::string path;
  int width = 0;
  int height = 0;
};

// Thrown by a timed read that did not read the file: a peer that refuses it,
// or Inkpane showing a message box. what() gives the reason.
class ReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One read of a file, the part that is timed. Whatever a reader needs before
// it starts (a surface or a buffer of the image's size, the file in memory) is
// made by the function returning it, outside the timing, and lives as long as
// the TimedRead, so repeated reads reuse it.
using TimedRead = std::function<void()>;

// Inkpane: RenderPbmFile onto an offscreen target of the image's size.
TimedRead PrepareInkpane(const InputFile& file);
// The floor no decoder can beat: the file's bytes copied once from memory and
// a 32-bit surface of the image's size filled once.
TimedRead PrepareFloor(const InputFile& file);
// Qt: QImageReader::read() alone, or followed by a conversion to RGB32, which
// is what a window has to draw.
TimedRead PrepareQtRead(const InputFile& file);
TimedRead PrepareQtReadAndConvert(const InputFile& file);
// Qt refuses to read an image that needs more than its allocation limit
// (128 MB by default); this lifts the limit for the rest of the process.
void LiftQtAllocationLimit();
// netpbm: libnetpbm opening the file and reading every row.
TimedRead PrepareNetpbmRows(const InputFile& file);
// ImageMagick: Magick++ reading the image and exporting its pixels.
TimedRead PrepareMagickExport(const InputFile& file);

// The size in a PBM file's header, as netpbm reads it.
InputFile DescribeWithNetpbm(const std::string& path);

}  // namespace inkpane::bench
