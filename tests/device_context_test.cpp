#include "platform/device_context.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/known_columns.h"
#include "platform/memory_surface.h"
#include "platform/resolved_device_context.h"

namespace inkpane {
namespace {

TEST(SetPixel, DrawsInsideTheSurfaceAndDropsTheRest) {
  MemorySurface surface(3, 2, 0x808080);
  SetPixel(surface.hdc(), 0, 0, 0x000000);
  SetPixel(surface.hdc(), 2, 1, 0xFFFFFF);
  for (const auto& [x, y] : {std::pair{-1, 0}, {0, -1}, {3, 0}, {0, 2}, {-32768, 32767}, {INT32_MIN, 0}}) {
    SetPixel(surface.hdc(), x, y, 0x123456);
  }
  SetPixel(0, 1, 1, 0x123456);
  SetPixel(0xFFFFFFFFu, 1, 1, 0x123456);

  const std::vector<Colour> expected = {0x000000, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF};
  std::vector<Colour> actual;
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) actual.push_back(surface.PixelAt(x, y));
  }
  EXPECT_EQ(actual, expected);
}

TEST(SetPixel, RespectsTheStrideOfABorrowedBuffer) {
  std::vector<std::uint32_t> pixels(4 * 2, 0);
  DeviceContext context(pixels, 2, 2, 4);
  SetPixel(context.handle(), 1, 1, 0xABCDEF);
  SetPixel(context.handle(), 2, 0, 0xABCDEF);
  EXPECT_EQ(pixels[5], 0xFFABCDEFu);
  EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0u), 7);
}

TEST(SetPixel, AReleasedHandleDrawsNothing) {
  std::vector<std::uint32_t> pixels(1, 0);
  std::optional<DeviceContext> context(std::in_place, pixels, 1, 1, 1);
  const std::uint32_t handle = context->handle();
  context.reset();
  SetPixel(handle, 0, 0, 0xFFFFFF);
  EXPECT_EQ(pixels[0], 0u);
}

// Each case is drawn three times: a SetPixel call per handle lookup, and every
// call through one context resolved for row 0 or for row 1, which stores
// pixels of that row at once once the changed rectangle spans them.
TEST(DeviceContext, TakesTheRectangleAroundWhatChanged) {
  const struct {
    std::string name;
    std::vector<std::pair<int, int>> pixels;
    PixelRect changed;
  } cases[] = {
      {"nothing drawn", {}, {}},
      {"one pixel", {{2, 1}}, {2, 1, 3, 2}},
      {"row after row", {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}}, {0, 0, 3, 2}},
      {"against the grain", {{2, 1}, {1, 1}, {0, 0}}, {0, 0, 3, 2}},
      {"back to an earlier row", {{1, 1}, {2, 1}, {0, 0}, {2, 0}}, {0, 0, 3, 2}},
      {"on to a later row", {{0, 0}, {0, 1}}, {0, 0, 1, 2}},
      {"a later row, then back", {{0, 1}, {0, 0}, {1, 1}}, {0, 0, 2, 2}},
      {"only outside the surface", {{-1, 0}, {3, 0}, {0, 2}, {0, -1}}, {}},
      {"inside and outside", {{5, 5}, {1, 0}, {3, 0}, {-1, 0}, {1, 2}}, {1, 0, 2, 1}},
  };
  constexpr int kByHandle = -1;
  for (const int resolvedRow : {kByHandle, 0, 1}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.name +
                   (resolvedRow == kByHandle ? ", by handle" : ", resolved for row " + std::to_string(resolvedRow)));
      MemorySurface surface(3, 2, 0x808080);
      if (resolvedRow != kByHandle) {
        ResolvedDeviceContext dc(surface.hdc(), resolvedRow);
        for (const auto& [x, y] : c.pixels) SetPixel(dc, x, y, 0x000000);
      } else {
        for (const auto& [x, y] : c.pixels) SetPixel(surface.hdc(), x, y, 0x000000);
      }
      std::vector<std::pair<int, int>> black;
      for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
          if (surface.PixelAt(x, y) == 0x000000) black.emplace_back(x, y);
        }
      }
      std::vector<std::pair<int, int>> expected;
      for (const auto& pixel : c.pixels) {
        if (pixel.first >= 0 && pixel.first < 3 && pixel.second >= 0 && pixel.second < 2) expected.push_back(pixel);
      }
      std::ranges::sort(expected, {}, [](const auto& p) { return std::pair(p.second, p.first); });
      EXPECT_EQ(black, expected);
      EXPECT_EQ(surface.TakeChanges(), c.changed);
      EXPECT_EQ(surface.TakeChanges(), PixelRect{});
    }
  }
}

// On a 4x2 surface whose row 0 and pixel (0, 1) are drawn, row 1 resolved:
// columns 0 to 3 are quick, the rest beyond the surface. Drawn through
// KnownColumns, each pixel, in the stretch or not, ends as drawn through the
// context.
TEST(KnownColumns, TellsWhereColumnsShareAFateAndDrawsAsTheContextDoes) {
  const struct {
    int x, y;
    std::optional<ColumnsOfOneFate> fate;
    int black;
  } cases[] = {{1, 1, ColumnsOfOneFate{ColumnsFate::Stored, 3}, 8},
               {4, 1, ColumnsOfOneFate{ColumnsFate::Dropped, (std::size_t{1} << 31) - 4}, 6},
               {-1, 1, std::nullopt, 5},
               {0, 0, std::nullopt, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + ", " + std::to_string(c.y));
    MemorySurface surface(4, 2, 0x808080);
    for (int x = 0; x < 4; ++x) SetPixel(surface.hdc(), x, 0, 0x000000);
    {
      ResolvedDeviceContext dc(surface.hdc(), 1);
      SetPixel(dc, 0, 1, 0x000000);
      EXPECT_EQ(dc.FateFrom(c.x, c.y), c.fate);
      if (c.fate && c.fate->fate == ColumnsFate::Stored) {
        KnownColumns<ColumnsFate::Stored, 2> known(dc, c.x, c.y);
        for (const int x : {1, 2, 3, 4}) SetPixel(known, x, 1, 0x000000);
      } else if (c.fate) {
        KnownColumns<ColumnsFate::Dropped, 8> known(dc, c.x, c.y);
        for (const int x : {5, 2}) SetPixel(known, x, 1, 0x000000);
      }
    }
    EXPECT_EQ(std::ranges::count(surface.Pixels(), 0xFF000000u), c.black);
    EXPECT_EQ(surface.TakeChanges(), (PixelRect{0, 0, 4, 2}));
  }
}

// Changes taken while a resolved context on the surface lives would come
// back when it goes; debug builds stop there.
TEST(DeviceContextDeathTest, TakingChangesUnderALivingResolvedContextStopsADebugBuild) {
  MemorySurface surface(3, 2, 0x808080);
  EXPECT_DEBUG_DEATH(
      {
        ResolvedDeviceContext dc(surface.hdc(), 0);
        surface.TakeChanges();
      },
      "resolved context");
}

// A fill counts as changed only where pixels may have differed from its
// colour, and leaves every pixel in that colour.
TEST(MemorySurface, FillChangesOnlyWhatWasDrawnSinceTheLastFill) {
  const struct {
    std::string name;
    std::vector<std::pair<int, int>> takenBefore;
    std::vector<std::pair<int, int>> pendingBefore;
    Colour fill;
    PixelRect changed;
  } cases[] = {
      {"nothing drawn", {}, {}, 0x808080, {}},
      {"drawn and shown", {{1, 0}, {2, 1}}, {}, 0x808080, {1, 0, 3, 2}},
      {"drawn, not yet shown", {}, {{0, 1}}, 0x808080, {0, 1, 1, 2}},
      {"shown and pending", {{2, 0}}, {{0, 1}}, 0x808080, {0, 0, 3, 2}},
      {"another colour", {}, {}, 0x000000, {0, 0, 3, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MemorySurface surface(3, 2, 0x808080);
    for (const auto& [x, y] : c.takenBefore) SetPixel(surface.hdc(), x, y, 0xFFFFFF);
    surface.TakeChanges();
    for (const auto& [x, y] : c.pendingBefore) SetPixel(surface.hdc(), x, y, 0xFFFFFF);
    surface.Fill(c.fill);
    EXPECT_EQ(surface.TakeChanges(), c.changed);
    EXPECT_TRUE(std::ranges::all_of(surface.Pixels(), [&](std::uint32_t p) { return p == (0xFF000000u | c.fill); }));
    // What the fill changed was shown; a second fill has nothing to change.
    surface.Fill(c.fill);
    EXPECT_EQ(surface.TakeChanges(), PixelRect{});
  }
}

}  // namespace
}  // namespace inkpane
