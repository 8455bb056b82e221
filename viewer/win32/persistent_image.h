#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/colour.h"
#include "platform/device_context.h"
#include "platform/pixel_rect.h"
#include "viewer/win32/dib_section.h"

namespace inkpane {

// The client area's picture, kept in a DIB section whose pixels are the
// layout our device contexts draw in, so SetPixel writes straight into it.
// The window copies it to the screen, one image pixel on one device pixel
// from the top-left corner, whenever part of the window needs painting, so a
// covered picture survives.
class PersistentImage {
 public:
  PersistentImage(SIZE size, Colour background);

  std::uint32_t hdc() const { return deviceContext_.handle(); }
  // Fills the image with the background colour; it shows at the next repaint.
  void Clear();
  // The rectangle around every pixel changed since the last call, by drawing
  // or by clearing; the next call starts from nothing.
  PixelRect TakeChanges();
  // Paints `area` of the client area onto `target`: the image where it lies,
  // the background beyond it.
  void Paint(HDC target, const RECT& area) const;

 private:
  void Fill(const PixelRect& area);

  int width_;
  int height_;
  Colour background_;
  DibSection dib_;
  DeviceContext deviceContext_;
  // Everything drawn and taken since the last clear, which the next clear
  // must undo, and what clearing changed that has not been taken yet.
  PixelRect drawnSinceClear_;
  PixelRect cleared_;
};

}  // namespace inkpane
