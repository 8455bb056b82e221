#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace inkpane {

// A 24-bit RGB colour, 0xRRGGBB.
using Colour = std::uint32_t;

// A rectangle of surface pixels, `right` and `bottom` exclusive. It is empty
// when it has no width or no height.
struct PixelRect {
  std::size_t left = 0;
  std::size_t top = 0;
  std::size_t right = 0;
  std::size_t bottom = 0;

  bool empty() const { return left >= right || top >= bottom; }
  // The smallest rectangle holding both.
  PixelRect United(const PixelRect& other) const {
    if (empty()) return other;
    if (other.empty()) return *this;
    return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
            std::max(bottom, other.bottom)};
  }
  bool operator==(const PixelRect&) const = default;
};

namespace device_context_detail {

// One registered surface: 32-bit pixels 0xFFRRGGBB, `stride` pixels apart from
// one row to the next, and the rectangle around every pixel set since the
// owner last took it. A free entry has no size, so every pixel misses it.
//
// The geometry is kept in std::size_t, never in the pixels' own type, so a
// pixel store cannot alias it and the compiler may keep it in registers.
struct Surface {
  std::uint32_t* bits = nullptr;
  std::size_t width = 0;
  std::size_t height = 0;
  std::size_t stride = 0;
  PixelRect changed;
};

inline constexpr std::size_t kTableSize = 64;

// Handle 0 is never given out, so a zero handle draws nothing.
inline std::array<Surface, kTableSize> table;

// Grows the changed rectangle to take in a pixel of the surface lying outside
// it. A decoder sets pixels row after row, so the rectangle usually grows by
// one column along the first row and by one row at the start of each further
// row: those cases stay short.
inline void TakeIn(PixelRect& changed, std::size_t column, std::size_t row) {
  if (changed.empty()) {
    changed = {column, row, column + 1, row + 1};
    return;
  }
  if (column < changed.left) changed.left = column;
  if (column >= changed.right) changed.right = column + 1;
  if (row < changed.top) changed.top = row;
  if (row >= changed.bottom) changed.bottom = row + 1;
}

}  // namespace device_context_detail

// The surface behind a device context handle, looked up once for the pixels
// of one row: a decoder resolves it at the start of each row and draws the
// row through it. A handle that names no surface resolves to an empty one.
//
// A pixel of that row lying in the columns the changed rectangle already
// spans from the left edge is stored with no other test; the compiler sees
// the row is the resolved one and tests only the column. Any other pixel, of
// this row or another, goes the long way: the bounds, the changed rectangle,
// and perhaps more columns that may be stored at once. Changes are kept in a
// copy of the surface's entry and merged back into the table when the object
// goes, so the owner must not take the changes while it lives: the copy would
// bring back what was taken. A decoder refreshes between rows, never inside
// one.
class ResolvedDeviceContext {
 public:
  ResolvedDeviceContext(std::uint32_t hdc, std::int32_t row) : row_(static_cast<std::uint32_t>(row)) {
    if (hdc >= device_context_detail::kTableSize) return;
    entry_ = &device_context_detail::table[hdc];
    surface_ = *entry_;
    if (row_ < surface_.height) rowBits_ = surface_.bits + row_ * surface_.stride;
  }
  ~ResolvedDeviceContext() {
    if (entry_ != nullptr) entry_->changed = entry_->changed.United(surface_.changed);
  }
  ResolvedDeviceContext(const ResolvedDeviceContext&) = delete;
  ResolvedDeviceContext& operator=(const ResolvedDeviceContext&) = delete;

 private:
  friend void SetPixel(ResolvedDeviceContext& dc, std::int32_t x, std::int32_t y, Colour colour);

  // Stores a pixel of the surface that missed the quick test and grows the
  // changed rectangle to take it in. Kept out of line: it runs about once a
  // row, and inlined it would cost the quick test registers.
  [[gnu::noinline]] void SetPixelTheLongWay(std::size_t column, std::size_t row, Colour colour) {
    surface_.bits[row * surface_.stride + column] = 0xFF000000u | colour;
    device_context_detail::TakeIn(surface_.changed, column, row);
    // Once the rectangle spans the resolved row from the left edge, the row
    // up to the rectangle's right edge may be stored at once.
    if (row == row_ && surface_.changed.left == 0) quickColumns_ = surface_.changed.right;
  }

  device_context_detail::Surface* entry_ = nullptr;
  device_context_detail::Surface surface_;
  // The row it was resolved for, where that row is stored, and how many of
  // its columns, from the left, lie inside the changed rectangle: none until
  // a pixel of the row has gone the long way.
  const std::size_t row_;
  std::uint32_t* rowBits_ = nullptr;
  std::size_t quickColumns_ = 0;
};

// Sets one pixel of a resolved device context to `colour`. A pixel outside the
// surface is dropped without a word. This is the decoder's per-pixel call.
inline void SetPixel(ResolvedDeviceContext& dc, std::int32_t x, std::int32_t y, Colour colour) {
  // Negative coordinates wrap to huge values and fail every bounds test.
  const auto column = static_cast<std::size_t>(static_cast<std::uint32_t>(x));
  const auto row = static_cast<std::size_t>(static_cast<std::uint32_t>(y));
  if (row != dc.row_ || column >= dc.quickColumns_) [[unlikely]] {
    // A picture larger than the surface sends its overhang this way, to the
    // right and below: dropped here, it costs no call.
    if (column >= dc.surface_.width || row >= dc.surface_.height) return;
    dc.SetPixelTheLongWay(column, row, colour);
    return;
  }
  dc.rowBits_[column] = 0xFF000000u | colour;
}

// Sets one pixel of the device context `hdc`; a handle that names no surface
// draws nothing.
inline void SetPixel(std::uint32_t hdc, std::int32_t x, std::int32_t y, Colour colour) {
  ResolvedDeviceContext dc(hdc, y);
  SetPixel(dc, x, y, colour);
}

// Registers a caller-owned pixel buffer as a device context for its lifetime.
// The buffer must hold `height` rows of `stride` pixels and outlive this object.
class DeviceContext {
 public:
  DeviceContext(std::span<std::uint32_t> pixels, int width, int height, std::size_t stride);
  ~DeviceContext();
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  std::uint32_t handle() const { return handle_; }

  // The rectangle around every pixel set through SetPixel since the last
  // call; the next call starts from nothing. A window repaints only this.
  PixelRect TakeChanges();

 private:
  std::uint32_t handle_;
};

}  // namespace inkpane
