#include "viewer/win32/dib_section.h"

#include "platform/run_time_error.h"

namespace inkpane {

BITMAPINFO TopDownFormat(int width, int height) {
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  // A negative height puts the top row first, as our device contexts lay
  // rows out.
  format.bmiHeader.biHeight = -height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  return format;
}

DibSection::DibSection(int width, int height) {
  const BITMAPINFO format = TopDownFormat(width, height);
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  dc_ = CreateCompatibleDC(nullptr);
  if (bitmap_ == nullptr || dc_ == nullptr) {
    Release();
    throw RunTimeError(ErrorNumber::OutOfMemory, "Out of memory: there is no room for the picture.");
  }
  replaced_ = SelectObject(dc_, bitmap_);
  pixels_ =
      std::span(static_cast<std::uint32_t*>(bits), static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
}

DibSection::~DibSection() { Release(); }

void DibSection::Release() {
  if (dc_ != nullptr) {
    if (replaced_ != nullptr) SelectObject(dc_, replaced_);
    DeleteDC(dc_);
  }
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

}  // namespace inkpane
