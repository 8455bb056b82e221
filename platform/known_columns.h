#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>

#include "platform/colour.h"
#include "platform/resolved_device_context.h"

namespace inkpane {

// `kCount` pixels of a resolved row, from column `x` rightwards, whose fate
// the context has told (ResolvedDeviceContext::FateFrom). A decoder draws them
// through it with one SetPixel call a pixel, as through the context itself;
// the compiler, seeing the calls' columns and row at constant offsets from
// those the stretch was made for, drops every test, and may merge neighbouring
// stores into wide ones.
template <ColumnsFate kFate, std::size_t kCount>
class KnownColumns {
 public:
  KnownColumns(ResolvedDeviceContext& dc, std::int32_t x, std::int32_t y)
      : dc_(dc),
        x_(static_cast<std::uint32_t>(x)),
        y_(static_cast<std::uint32_t>(y)),
        // Only stored pixels have a place: a row below the surface has no
        // storage at all, and a place past the end of a row may lie past
        // the end of the surface, where even pointing is undefined.
        bits_(kFate == ColumnsFate::Stored ? dc.rowBits_ + x_ : nullptr) {
    assert(dc.FateFrom(x, y) && dc.FateFrom(x, y)->fate == kFate && dc.FateFrom(x, y)->count >= kCount);
  }
  KnownColumns(const KnownColumns&) = delete;
  KnownColumns& operator=(const KnownColumns&) = delete;

  // Sets one pixel to `colour` as SetPixel on the context does; a pixel
  // outside the stretch goes through the context.
  friend void SetPixel(KnownColumns& known, std::int32_t x, std::int32_t y, Colour colour) {
    const std::uint32_t offset = static_cast<std::uint32_t>(x) - static_cast<std::uint32_t>(known.x_);
    if (offset < kCount && static_cast<std::uint32_t>(y) == known.y_) [[likely]] {
      if constexpr (kFate == ColumnsFate::Stored) known.bits_[offset] = 0xFF000000u | colour;
      return;
    }
    SetPixel(known.dc_, x, y, colour);
  }

 private:
  // Kept in std::size_t, as the context's geometry is, so that a pixel store
  // cannot alias them.
  ResolvedDeviceContext& dc_;
  const std::size_t x_;
  const std::size_t y_;
  std::uint32_t* const bits_;
};

}  // namespace inkpane
