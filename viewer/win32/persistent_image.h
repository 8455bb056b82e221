#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "platform/colour.h"
#include "platform/memory_surface.h"
#include "platform/pixel_rect.h"
#include "viewer/win32/dib_section.h"
#include "viewer/win32/picture_colours.h"

namespace inkpane {

// The client area's picture, kept in a DIB section whose pixels are the
// layout our device contexts draw in, so SetPixel writes straight into it.
// The window copies it to the screen, one image pixel on one device pixel
// from the top-left corner, whenever part of the window needs painting, so a
// covered picture survives.
class PersistentImage {
 public:
  PersistentImage(SIZE size, Colour background);

  // Changes when the image grows: a decoder must not hold it across a Grow.
  std::uint32_t hdc() const { return surface_->hdc(); }
  // Fills the image with the background colour; it shows at the next repaint.
  void Clear();
  // The rectangle of the client area around every pixel changed since the
  // last call, by drawing or by clearing; the next call starts from nothing.
  RECT TakeChanges();
  // Paints `area` of the client area onto `target`: the image where it lies,
  // its drawn black and white in `colours`, the background beyond it.
  void Paint(HDC target, const RECT& area, const PictureColours& colours = {}) const;

  // Makes the image at least `size`, keeping what is drawn; the window must
  // then be repainted whole. Never while a decoder draws on it.
  void Grow(SIZE size);
  // Gives what has not been drawn since the last clear the new background
  // colour; the window must then be repainted whole. Never while a decoder
  // draws on it.
  void Recolour(Colour background);

 private:
  void PaintInColours(HDC target, const RECT& area, const PictureColours& colours) const;

  // Both made anew, at another size, when the image grows.
  std::unique_ptr<DibSection> dib_;
  std::unique_ptr<MemorySurface> surface_;
  // Around the pixels drawn since the last clear and taken as changes: only
  // these are the picture's, since the background may be black or white too.
  PixelRect drawn_;
  // What clearing changed and was not taken yet.
  PixelRect cleared_;
};

}  // namespace inkpane
