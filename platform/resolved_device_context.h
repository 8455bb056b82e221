#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/colour.h"
#include "platform/device_context.h"

namespace inkpane {

// What SetPixel on a resolved context does with each pixel of a stretch of
// its row, when it does the same simple thing with all of them: stores it at
// once, the stretch lying in the row's quick columns (on the surface and
// inside the changed rectangle), or drops it, the stretch lying beyond the
// surface.
enum class ColumnsFate { Stored, Dropped };

// So many columns of a resolved row, from a given one rightwards, whose pixels
// share one fate.
struct ColumnsOfOneFate {
  ColumnsFate fate;
  std::size_t count;
  bool operator==(const ColumnsOfOneFate&) const = default;
};

template <ColumnsFate kFate, std::size_t kCount>
class KnownColumns;

// The surface behind a device context handle, looked up once for the pixels
// of one row: a decoder resolves it at the start of each row and draws the
// row through it. A handle that names no surface resolves to an empty one.
//
// A pixel of that row lying in the columns the changed rectangle already
// spans from the left edge is stored with no other test; the compiler sees
// the row is the resolved one and tests only the column. One of that row
// lying beyond the surface, to the right or below, is dropped after one more
// test. Any other pixel goes the long way: the bounds, the changed rectangle,
// and perhaps more columns that may be stored at once. Changes are kept in a
// copy of the surface's entry and merged back into the table when the object
// goes, so the owner must not take the changes while it lives: the copy would
// bring back what was taken (debug builds check it). A decoder refreshes
// between rows, never inside one.
class ResolvedDeviceContext {
 public:
  ResolvedDeviceContext(std::uint32_t hdc, std::int32_t row) : row_(static_cast<std::uint32_t>(row)), living_(hdc) {
    if (hdc >= device_context_detail::kTableSize) return;
    entry_ = &device_context_detail::table[hdc];
    surface_ = *entry_;
    if (row_ < surface_.height) {
      rowBits_ = surface_.bits + row_ * surface_.stride;
      columnsOnSurface_ = surface_.width;
    }
  }
  ~ResolvedDeviceContext() {
    if (entry_ != nullptr) entry_->changed = entry_->changed.United(surface_.changed);
  }
  ResolvedDeviceContext(const ResolvedDeviceContext&) = delete;
  ResolvedDeviceContext& operator=(const ResolvedDeviceContext&) = delete;

  // The fate of the pixels from (`x`, `y`) rightwards, and how many share
  // it, when the first has one; a negative column never has.
  std::optional<ColumnsOfOneFate> FateFrom(std::int32_t x, std::int32_t y) const {
    const auto column = static_cast<std::size_t>(static_cast<std::uint32_t>(x));
    if (static_cast<std::size_t>(static_cast<std::uint32_t>(y)) != row_ || x < 0) return std::nullopt;
    if (column < quickColumns_) return ColumnsOfOneFate{ColumnsFate::Stored, quickColumns_ - column};
    // Every column a SetPixel call can name lies below 2^31.
    if (column >= columnsOnSurface_) return ColumnsOfOneFate{ColumnsFate::Dropped, (std::size_t{1} << 31) - column};
    return std::nullopt;
  }

 private:
  friend void SetPixel(ResolvedDeviceContext& dc, std::int32_t x, std::int32_t y, Colour colour);
  template <ColumnsFate kFate, std::size_t kCount>
  friend class KnownColumns;

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
  // The row it was resolved for, where that row is stored, how many of its
  // columns, from the left, lie inside the changed rectangle (none until a
  // pixel of the row has gone the long way), and how many on the surface
  // (none when the row lies below it).
  const std::size_t row_;
  std::uint32_t* rowBits_ = nullptr;
  std::size_t quickColumns_ = 0;
  std::size_t columnsOnSurface_ = 0;
  [[no_unique_address]] device_context_detail::LivingResolvedContext living_;
};

// Sets one pixel of a resolved device context to `colour`. A pixel outside the
// surface is dropped without a word. This is the decoder's per-pixel call.
inline void SetPixel(ResolvedDeviceContext& dc, std::int32_t x, std::int32_t y, Colour colour) {
  // Negative coordinates wrap to huge values and fail every bounds test.
  const auto column = static_cast<std::size_t>(static_cast<std::uint32_t>(x));
  const auto row = static_cast<std::size_t>(static_cast<std::uint32_t>(y));
  if (row == dc.row_) [[likely]] {
    if (column < dc.quickColumns_) [[likely]] {
      dc.rowBits_[column] = 0xFF000000u | colour;
      return;
    }
    // A picture larger than the surface sends its overhang to the right and
    // below; dropped on the quick path, it costs as little as a stored pixel.
    if (column >= dc.columnsOnSurface_) return;
  } else if (column >= dc.surface_.width || row >= dc.surface_.height) {
    return;
  }
  dc.SetPixelTheLongWay(column, row, colour);
}

// Sets one pixel of the device context `hdc`; a handle that names no surface
// draws nothing.
inline void SetPixel(std::uint32_t hdc, std::int32_t x, std::int32_t y, Colour colour) {
  ResolvedDeviceContext dc(hdc, y);
  SetPixel(dc, x, y, colour);
}

}  // namespace inkpane
