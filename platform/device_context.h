#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/colour.h"
#include "platform/pixel_rect.h"

namespace inkpane {

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

#ifdef NDEBUG
class LivingResolvedContext {
 public:
  explicit LivingResolvedContext(std::uint32_t) {}
};
#else
// How many resolved contexts live on each surface, counted in debug builds
// only, where taking a surface's changes checks that none does.
inline std::array<int, kTableSize> livingResolvedContexts{};

class LivingResolvedContext {
 public:
  explicit LivingResolvedContext(std::uint32_t hdc) : hdc_(hdc) {
    if (hdc_ < kTableSize) ++livingResolvedContexts[hdc_];
  }
  ~LivingResolvedContext() {
    if (hdc_ < kTableSize) --livingResolvedContexts[hdc_];
  }
  LivingResolvedContext(const LivingResolvedContext&) = delete;
  LivingResolvedContext& operator=(const LivingResolvedContext&) = delete;

 private:
  std::uint32_t hdc_;
};
#endif

}  // namespace device_context_detail

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
  // Never while a resolved context on the surface lives (debug builds check):
  // the context would bring back what was taken when it goes.
  PixelRect TakeChanges();

 private:
  std::uint32_t handle_;
};

}  // namespace inkpane
