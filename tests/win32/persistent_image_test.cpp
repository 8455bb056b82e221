#include "viewer/win32/persistent_image.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/resolved_device_context.h"

namespace inkpane {
namespace {

constexpr Colour kGrey = 0x808080, kBlack = 0x000000, kBlue = 0x204060, kWhite = 0xFFFFFF, kYellow = 0xFFFF00;

// What the window would show of the image, one letter a pixel: g grey, k
// black, b blue, w white, y yellow.
std::vector<std::string> Shown(const PersistentImage& image, int width, int height,
                               const PictureColours& colours = {}) {
  const DibSection screen(width, height);
  image.Paint(screen.dc(), {0, 0, width, height}, colours);
  std::vector<std::string> rows(static_cast<std::size_t>(height));
  for (std::size_t i = 0; i < screen.pixels().size(); ++i) {
    const Colour colour = screen.pixels()[i] & 0xFFFFFF;
    rows[i / static_cast<std::size_t>(width)] += colour == kGrey     ? 'g'
                                                 : colour == kBlack  ? 'k'
                                                 : colour == kBlue   ? 'b'
                                                 : colour == kWhite  ? 'w'
                                                 : colour == kYellow ? 'y'
                                                                     : '?';
  }
  return rows;
}

TEST(PersistentImage, GrowsAndRecoloursAroundWhatIsDrawn) {
  const struct {
    const char* name;
    std::function<void(PersistentImage&)> change;
    std::vector<std::string> shown;
  } cases[] = {
      {"grown",
       [](PersistentImage& image) {
         image.Grow({6, 4});
       },
       {"gggggg", "gkkggg", "gkkggg", "gggggk"}},
      {"recoloured", [](PersistentImage& image) { image.Recolour(kBlue); }, {"bbbbbb", "bkkbbb", "bkkbbb", "bbbbbb"}},
      {"grown and recoloured",
       [](PersistentImage& image) {
         image.Grow({6, 4});
         image.Recolour(kBlue);
       },
       {"bbbbbb", "bkkbbb", "bkkbbb", "bbbbbk"}},
      {"grown, then cleared",
       [](PersistentImage& image) {
         image.Grow({6, 4});
         image.Clear();
       },
       {"gggggg", "gggggg", "gggggg", "gggggk"}},
      {"recoloured, then cleared",
       [](PersistentImage& image) {
         image.Recolour(kBlue);
         image.Clear();
       },
       {"bbbbbb", "bbbbbb", "bbbbbb", "bbbbbb"}},
  };
  for (const auto& c : cases) {
    PersistentImage image({4, 3}, kGrey);
    for (std::int32_t y = 1; y <= 2; ++y) {
      ResolvedDeviceContext dc(image.hdc(), y);
      SetPixel(dc, 1, y, kBlack);
      SetPixel(dc, 2, y, kBlack);
    }
    c.change(image);
    // Beyond the first size, a pixel is drawn only once the image has grown.
    ResolvedDeviceContext dc(image.hdc(), 3);
    SetPixel(dc, 5, 3, kBlack);
    EXPECT_EQ(Shown(image, 6, 4), c.shown) << c.name;
  }
}

// In high contrast the picture's black takes the colour of text and its white
// that of the window behind text, yellow on blue here; the background, which
// may be black or white itself, keeps the workspace colour.
TEST(PersistentImage, ShowsItsPictureInHighContrastColours) {
  const struct {
    const char* name;
    bool highContrast;
    Colour workspace;
    bool clearedAfter;
    std::vector<std::string> shown;
  } cases[] = {
      {"off", false, kGrey, false, {"gggg", "gkwg", "gggg"}},
      {"on", true, kGrey, false, {"gggg", "gybg", "gggg"}},
      {"on, over a black workspace", true, kBlack, false, {"kkkk", "kybk", "kkkk"}},
      {"on, over a white workspace, cleared", true, kWhite, true, {"wwww", "wwww", "wwww"}},
  };
  for (const auto& c : cases) {
    const HighContrastCalls system{
        .on = [&c] { return c.highContrast; },
        .systemColour =
            [](int index) { return index == COLOR_WINDOWTEXT ? RGB(0xFF, 0xFF, 0) : RGB(0x20, 0x40, 0x60); },
    };
    PersistentImage image({4, 3}, c.workspace);
    {
      ResolvedDeviceContext dc(image.hdc(), 1);
      SetPixel(dc, 1, 1, kBlack);
      SetPixel(dc, 2, 1, kWhite);
    }
    image.TakeChanges();
    if (c.clearedAfter) image.Clear();
    EXPECT_EQ(Shown(image, 4, 3, PictureColoursNow(system)), c.shown) << c.name;
  }
}

}  // namespace
}  // namespace inkpane
