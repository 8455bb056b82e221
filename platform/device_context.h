#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace inkpane {

// A 24-bit RGB colour, 0xRRGGBB.
using Colour = std::uint32_t;

namespace device_context_detail {

// One registered surface: 32-bit pixels 0xFFRRGGBB, `stride` pixels apart from
// one row to the next. A free entry has no size, so every pixel misses it.
struct Surface {
  std::uint32_t* bits = nullptr;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::size_t stride = 0;
};

inline constexpr std::size_t kTableSize = 64;

// Handle 0 is never given out, so a zero handle draws nothing.
inline std::array<Surface, kTableSize> table;

}  // namespace device_context_detail

// Sets one pixel of the device context `hdc` to `colour`. A pixel outside the
// surface, or a handle that names no surface, is dropped without a word. This
// is the decoder's per-pixel call, so it stays a table index and a bounds test.
inline void SetPixel(std::uint32_t hdc, std::int32_t x, std::int32_t y, Colour colour) {
  if (hdc >= device_context_detail::kTableSize) return;
  const device_context_detail::Surface& surface = device_context_detail::table[hdc];
  const auto column = static_cast<std::uint32_t>(x);
  const auto row = static_cast<std::uint32_t>(y);
  if (column >= surface.width || row >= surface.height) return;
  surface.bits[row * surface.stride + column] = 0xFF000000u | colour;
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

 private:
  std::uint32_t handle_;
};

}  // namespace inkpane
