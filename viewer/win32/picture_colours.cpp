#include "viewer/win32/picture_colours.h"

namespace inkpane {
Colour ToColour(COLORREF colour) {
  return (Colour{GetRValue(colour)} << 16) | (Colour{GetGValue(colour)} << 8) | Colour{GetBValue(colour)};
}

bool SystemHighContrastOn() {
  HIGHCONTRASTW highContrast{};
  highContrast.cbSize = sizeof highContrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof highContrast, &highContrast, 0) &&
         (highContrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

PictureColours PictureColoursNow(const HighContrastCalls& calls) {
  if (!calls.on()) return {};
  return {.black = ToColour(calls.systemColour(COLOR_WINDOWTEXT)), .white = ToColour(calls.systemColour(COLOR_WINDOW))};
}

}  // namespace inkpane
