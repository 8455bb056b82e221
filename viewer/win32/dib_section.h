#pragma once

#include <windows.h>

#include <cstdint>
#include <span>

namespace inkpane {

// How GDI reads pixels laid out as ours are: 32 bits each, 0xXXRRGGBB, the
// top row first, with no gap between rows.
BITMAPINFO TopDownFormat(int width, int height);

// A top-down 32-bit bitmap whose pixels the program writes directly, each
// 0xXXRRGGBB in memory, selected into a memory device context of its own from
// which GDI copies it to the screen.
class DibSection {
 public:
  DibSection(int width, int height);
  ~DibSection();
  DibSection(const DibSection&) = delete;
  DibSection& operator=(const DibSection&) = delete;

  HDC dc() const { return dc_; }
  // Row after row from the top, with no gap between rows.
  std::span<std::uint32_t> pixels() const { return pixels_; }

 private:
  // Lets go of whatever was made; a constructor that fails half-way calls it
  // too, since no destructor runs then.
  void Release();

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ replaced_ = nullptr;
  std::span<std::uint32_t> pixels_;
};

}  // namespace inkpane
